#include "host/serve/client_check.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

namespace host::serve {
namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool ipv4(const std::string& text) {
  in_addr a{};
  return inet_pton(AF_INET, text.c_str(), &a) == 1;
}

bool ipv6(const std::string& text) {
  in6_addr a{};
  return inet_pton(AF_INET6, text.c_str(), &a) == 1;
}

bool wildcard(const std::string& listen) {
  return listen == "0.0.0.0" || listen == "::" || listen == "*" || listen.empty();
}

// Equal without telling by its time how much of it was.
bool same_secret(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  unsigned char differ = 0;
  for (size_t i = 0; i < a.size(); ++i) differ |= static_cast<unsigned char>(a[i] ^ b[i]);
  return differ == 0;
}

std::string cookie_value(const std::string& header, const std::string& name) {
  size_t at = 0;
  while (at < header.size()) {
    size_t end = header.find(';', at);
    if (end == std::string::npos) end = header.size();
    std::string part = header.substr(at, end - at);
    part.erase(0, part.find_first_not_of(' '));
    if (part.rfind(name + "=", 0) == 0) return part.substr(name.size() + 1);
    at = end + 1;
  }
  return "";
}

}  // namespace

bool reaches_beyond_loopback(const std::string& listen) {
  if (lower(listen) == "localhost" || listen == "::1") return false;
  in_addr a{};
  if (inet_pton(AF_INET, listen.c_str(), &a) == 1) return (ntohl(a.s_addr) >> 24) != 127;
  return true;
}

std::string random_token() {
  std::random_device source;
  std::string token;
  for (int i = 0; i < 4; ++i) {
    char part[9];
    std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(source()));
    token += part;
  }
  return token;
}

std::string url_authority(const std::string& host, int port) {
  const bool bracketed = ipv6(host);
  return (bracketed ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

bool ClientCheck::host_allowed(const std::string& host) const {
  const std::string named = lower(host);
  for (const std::string& name :
       {listen_, std::string("127.0.0.1"), std::string("localhost"), std::string("::1")}) {
    if (named == lower(url_authority(name, port_))) return true;
  }
  // Listening everywhere, the server is named by any of this machine's
  // addresses: an address is no name a page elsewhere could rebind.
  if (wildcard(listen_)) {
    const std::string suffix = ":" + std::to_string(port_);
    if (named.size() > suffix.size() && named.ends_with(suffix)) {
      const std::string address = named.substr(0, named.size() - suffix.size());
      if (ipv4(address)) return true;
      if (address.size() > 2 && address.front() == '[' && address.back() == ']' &&
          ipv6(address.substr(1, address.size() - 2))) {
        return true;
      }
    }
  }
  return false;
}

bool ClientCheck::has_token(const httplib::Request& req) const {
  return token_in_url(req) ||
         same_secret(cookie_value(req.get_header_value("Cookie"), kTokenCookie), token_);
}

bool ClientCheck::token_in_url(const httplib::Request& req) const {
  return !token_.empty() && req.has_param("token") &&
         same_secret(req.get_param_value("token"), token_);
}

std::string ClientCheck::cookie() const {
  return std::string(kTokenCookie) + "=" + token_ + "; Path=/; HttpOnly; SameSite=Strict";
}

std::optional<Refusal> ClientCheck::refusal(const httplib::Request& req) const {
  const std::string host = req.get_header_value("Host");
  if (!host_allowed(host)) {
    return Refusal{403, "this live panel answers to http://" + url_authority(listen_, port_) +
                            "/ only, not to Host '" + host.substr(0, 80) + "'"};
  }
  if (!token_.empty() && !has_token(req)) {
    return Refusal{403, "this live panel needs its token: open the address gaugehost printed"};
  }
  if (req.method == "POST") {
    const std::string origin = req.get_header_value("Origin");
    const std::string site = req.get_header_value("Sec-Fetch-Site");
    const bool from_page = origin.empty() ? lower(site) == "same-origin"
                                          : lower(origin) == "http://" + lower(host) &&
                                                (site.empty() || lower(site) == "same-origin");
    if (!from_page) {
      return Refusal{403,
                     "a change to the flight must come from the live panel's own page (Origin '" +
                         origin.substr(0, 80) + "')"};
    }
  }
  return std::nullopt;
}

}  // namespace host::serve
