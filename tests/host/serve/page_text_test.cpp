// Text on its way to the page: what is not UTF-8 and every control
// character comes out escaped, the rest untouched; download names are safe.
#include "host/serve/page_text.h"

#include <gtest/gtest.h>

namespace {

using host::serve::attachment_header;
using host::serve::shown_text;

TEST(PageText, WhatIsNotUtf8OrAControlIsEscaped) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"approach.flight", "approach.flight"},
      {"Sound\\glideslope.wav", "Sound\\glideslope.wav"},
      {"caf\xc3\xa9 \xe2\x9c\x88 \xf0\x9f\x9b\xab", "caf\xc3\xa9 \xe2\x9c\x88 \xf0\x9f\x9b\xab"},
      {"latin\xe9.flight", "latin\\xE9.flight"},
      {"\xc3\x28", "\\xC3("},
      {"\x80", "\\x80"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"new\nline\r\t\x7f", "new\\x0Aline\\x0D\\x09\\x7F"},
      {"\xc2\x85", "\\u0085"},                       // C1 NEL
      {"\xc2\xa0", "\xc2\xa0"},                      // no-break space is text
      {"\xc0\xaf", "\\xC0\\xAF"},                    // overlong '/'
      {"\xed\xa0\x80", "\\xED\\xA0\\x80"},           // a surrogate
      {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // past U+10FFFF
      {"\xe2\x9c", "\\xE2\\x9C"},                    // cut short
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shown_text(c.in), c.out);
    EXPECT_EQ(shown_text(shown_text(c.in)), shown_text(c.in)) << "shown once is shown";
  }
}

TEST(PageText, DownloadNamesAreSafe) {
  EXPECT_EQ(attachment_header("live_panel.flight"), "attachment; filename=\"live_panel.flight\"");
  EXPECT_EQ(attachment_header("live_quote\".flight"),
            "attachment; filename=\"live_quote_.flight\"; filename*=UTF-8''live_quote%22.flight");
  EXPECT_EQ(attachment_header("live_caf\xc3\xa9.flight"),
            "attachment; filename=\"live_caf__.flight\"; filename*=UTF-8''live_caf%C3%A9.flight");
  EXPECT_EQ(attachment_header("live_new\nline\xe9.flight"),
            "attachment; filename=\"live_new_line_.flight\"; "
            "filename*=UTF-8''live_new%5Cx0Aline%5CxE9.flight");
}

}  // namespace
