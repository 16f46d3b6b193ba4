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

  std::optional<Refusal> refusal(const httplib::Request& req) const;

 private:
  std::vector<Route> routes_;
};

}  // namespace host::serve
