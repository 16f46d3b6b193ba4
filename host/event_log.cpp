#include "host/event_log.h"

#include <charconv>

namespace host {
namespace {

template <typename Int>
void append_int(std::string& out, Int value, int base) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value, base);
  out.append(text, result.ptr);
}

}  // namespace

void EventLog::set_echo(std::ostream* out) {
  echo_ = out;
  update_recording();
}

void EventLog::set_keep(bool keep) {
  keep_ = keep;
  update_recording();
}

void EventLog::update_recording() {
  bool was = recording_;
  recording_ = keep_ || echo_ != nullptr;
  if (recording_ != was && recording_hook_ != nullptr)
    recording_hook_(recording_context_, recording_);
}

void EventLog::add(std::string_view text) {
  if (!recording_) return;
  // The frame as six digits at least, zero-padded, then a space.
  char digits[16];
  auto end = std::to_chars(digits, digits + sizeof digits, frame_).ptr;
  size_t count = static_cast<size_t>(end - digits);
  std::string line;
  line.reserve((count < 6 ? 6 : count) + 2 + text.size());
  if (count < 6) line.append(6 - count, '0');
  line.append(digits, count);
  line += ' ';
  line += text;
  if (echo_ != nullptr) {
    line += '\n';
    echo_->write(line.data(), static_cast<std::streamsize>(line.size()));
    line.pop_back();
  }
  if (keep_) lines_.push_back(std::move(line));
}

std::string format_double(double value) {
  std::string text;
  append_double(text, value);
  return text;
}

std::string format_hex(uint32_t value) {
  std::string text;
  append_hex(text, value);
  return text;
}

void append_double(std::string& out, double value) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

void append_hex(std::string& out, uint32_t value) {
  out += "0x";
  append_int(out, value, 16);
}

void append_decimal(std::string& out, int64_t value) {
  append_int(out, value, 10);
}

}  // namespace host
