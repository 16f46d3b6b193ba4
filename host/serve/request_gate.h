#pragma once
// What a request must be before any handler sees it or its body is read:
// within the size limits, to a path and method the live panel serves, with
// a body only where one is taken, plain (no content encoding). A request
// that is not is refused with the status and the reason.
#include <httplib.h>

#include <optional>
#include <string>
#include <vector>

#include "host/serve/live_requests.h"
#include "host/serve/request_limits.h"

namespace host::serve {

struct Route {
  std::string method;  // "GET" or "POST"
  std::string path;    // exactly
};

class RequestGate {
 public:
  explicit RequestGate(std::vector<Route> routes) : routes_(std::move(routes)) {}

  // Over a size limit (431, 414), before anything else is looked at.
  std::optional<Refusal> size_refusal(const httplib::Request& req) const;
  // Not a route (404, 405), or a body the route does not take (400, 413, 415).
  std::optional<Refusal> route_refusal(const httplib::Request& req) const;

 private:
  std::vector<Route> routes_;
};

}  // namespace host::serve
