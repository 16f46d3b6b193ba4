#pragma once
// Who may use the live panel: requests naming the server by the address it
// listens on or by loopback (so a web page elsewhere cannot reach it by
// rebinding a name of its own), changes to the flight only from the page's
// own origin, and, when it listens beyond this machine or is told a token,
// only clients that hold the token (in the address printed, then a cookie).
#include <httplib.h>

#include <optional>
#include <string>

#include "host/serve/live_requests.h"

namespace host::serve {

// Whether an address to listen on reaches beyond this machine, so that a
// token must be asked for: anything but 127.0.0.0/8, ::1 and localhost.
bool reaches_beyond_loopback(const std::string& listen);
// A token nobody can guess: 32 hex digits from the system's random source.
std::string random_token();
// "HOST:PORT" as a URL names it (an IPv6 address in brackets).
std::string url_authority(const std::string& host, int port);

inline constexpr const char* kTokenCookie = "gaugehost_token";

class ClientCheck {
 public:
  ClientCheck(std::string listen, std::string token)
      : listen_(std::move(listen)), token_(std::move(token)) {}
  void set_port(int port) { port_ = port; }
  const std::string& token() const { return token_; }

  // The refusal (403) of a request from outside, or nothing.
  std::optional<Refusal> refusal(const httplib::Request& req) const;
  // Whether the request brought the token in its URL (a first visit): its
  // answer sets the cookie.
  bool token_in_url(const httplib::Request& req) const;
  std::string cookie() const;

 private:
  bool host_allowed(const std::string& host) const;
  bool has_token(const httplib::Request& req) const;

  std::string listen_;
  std::string token_;  // empty: none asked for
  int port_ = 0;
};

}  // namespace host::serve
