#pragma once
// The live panel's answers and the parameters it reads, shared by the
// server and its routes.
#include <httplib.h>

#include <charconv>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "host/serve/live_json.h"
#include "host/serve/page_text.h"

namespace host::serve {

// A plain-text answer; the message is shown as shown_text() shows it.
inline void answer(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  res.set_content(shown_text(message) + "\n", "text/plain; charset=utf-8");
}

inline void answer_json(httplib::Response& res, const nlohmann::json& body) {
  res.set_header("Cache-Control", "no-store");
  res.set_content(page_json(body), "application/json");
}

inline std::string param(const httplib::Params& params, const char* name) {
  const auto found = params.find(name);
  return found == params.end() ? "" : found->second;
}

inline std::string param(const httplib::Request& req, const char* name) {
  return param(req.params, name);
}

// A count the page sends (0 when it is missing or not a number).
inline uint64_t count_param(const httplib::Request& req, const char* name) {
  const std::string text = param(req, name);
  uint64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace host::serve
