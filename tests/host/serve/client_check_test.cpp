// Which addresses to listen on ask for a token, and the tokens made up.
#include "host/serve/client_check.h"

#include <gtest/gtest.h>

namespace {

using host::serve::random_token;
using host::serve::reaches_beyond_loopback;
using host::serve::url_authority;

TEST(ClientCheck, ATokenIsAskedBeyondLoopback) {
  const struct {
    const char* listen;
    bool beyond;
  } cases[] = {
      {"127.0.0.1", false}, {"127.0.0.2", false},  {"127.255.255.254", false},
      {"localhost", false}, {"::1", false},        {"0.0.0.0", true},
      {"::", true},         {"192.168.1.5", true}, {"10.0.0.1", true},
      {"128.0.0.1", true},  {"fe80::1", true},     {"panel.example", true},
  };
  for (const auto& c : cases) EXPECT_EQ(reaches_beyond_loopback(c.listen), c.beyond) << c.listen;
}

TEST(ClientCheck, TokensAreLongAndNeverTheSame) {
  const std::string one = random_token(), two = random_token();
  EXPECT_EQ(one.size(), 32u);
  EXPECT_EQ(one.find_first_not_of("0123456789abcdef"), std::string::npos) << one;
  EXPECT_NE(one, two);
  EXPECT_EQ(url_authority("127.0.0.1", 8018), "127.0.0.1:8018");
  EXPECT_EQ(url_authority("::1", 8018), "[::1]:8018");
}

}  // namespace
