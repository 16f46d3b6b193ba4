#include "host/serve/request_gate.h"

#include <algorithm>

namespace host::serve {
namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::optional<Refusal> limits_refusal(const httplib::Request& req) {
  size_t bytes = 0;
  for (const auto& [name, value] : req.headers) bytes += name.size() + value.size() + 4;
  if (bytes > kMaxHeaderBlock || req.headers.size() > kMaxHeaderLines) {
    return Refusal{431, "request header block too large (at most " +
                            std::to_string(kMaxHeaderBlock) + " bytes in " +
                            std::to_string(kMaxHeaderLines) + " lines)"};
  }
  if (req.target.size() > kMaxTarget) {
    return Refusal{414, "URL too long (at most " + std::to_string(kMaxTarget) + " bytes)"};
  }
  return std::nullopt;
}

std::optional<Refusal> body_refusal(const httplib::Request& req, bool takes_body) {
  const std::string encoding = lower(req.get_header_value("Content-Encoding"));
  if (!encoding.empty() && encoding != "identity") {
    return Refusal{415, "compressed request bodies are not taken (Content-Encoding: " +
                            encoding.substr(0, 40) + ")"};
  }
  const std::string transfer = lower(req.get_header_value("Transfer-Encoding"));
  const bool chunked = transfer == "chunked";
  if (!transfer.empty() && !chunked) {
    return Refusal{400, "unknown Transfer-Encoding: " + transfer.substr(0, 40)};
  }
  const std::string length = req.get_header_value("Content-Length");
  const bool has_body = chunked || (!length.empty() && length != "0");
  if (has_body && !takes_body) return Refusal{400, req.method + " " + req.path + " takes no body"};
  if (!std::ranges::all_of(length, [](char c) { return c >= '0' && c <= '9'; })) {
    return Refusal{400, "Content-Length must be a whole number"};
  }
  if (!length.empty() && (length.size() > 12 || std::stoull(length) > kMaxBody)) {
    return Refusal{413, "request too large (at most " + std::to_string(kMaxBody) + " bytes)"};
  }
  return std::nullopt;
}

}  // namespace

std::optional<Refusal> RequestGate::size_refusal(const httplib::Request& req) const {
  return limits_refusal(req);
}

std::optional<Refusal> RequestGate::route_refusal(const httplib::Request& req) const {
  const bool known_path =
      std::ranges::any_of(routes_, [&](const Route& r) { return r.path == req.path; });
  const auto route = std::ranges::find_if(
      routes_, [&](const Route& r) { return r.path == req.path && r.method == req.method; });
  if (route == routes_.end()) {
    if (known_path && req.method != "POST" && req.method != "GET") {
      return Refusal{405, "this call takes another method"};
    }
    return Refusal{404, "no such page or call: " + req.path.substr(0, 80)};
  }
  return body_refusal(req, route->method == "POST");
}

}  // namespace host::serve
