#include "host/event_log.h"

#include <charconv>
#include <cstdio>

namespace host {

void EventLog::add(std::string_view text) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%06u ", static_cast<unsigned>(frame_));
  std::string line = stamp;
  line += text;
  if (echo_ != nullptr) *echo_ << line << '\n';
  lines_.push_back(std::move(line));
}

std::string format_double(double value) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string format_hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

}  // namespace host
