#pragma once
// The host's deterministic record of a flight: one line per observable event,
// stamped with the frame number. A native run and a run under Wine of the
// same flight must give the same lines, so nothing here depends on addresses
// or on the platform's number formatting.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class EventLog {
 public:
  void set_frame(uint32_t frame) { frame_ = frame; }
  uint32_t frame() const { return frame_; }

  // Copies every new line to `out` as well (null: keep them only in memory).
  void set_echo(std::ostream* out) { echo_ = out; }

  void add(std::string_view text);
  const std::vector<std::string>& lines() const { return lines_; }
  void clear() { lines_.clear(); }

 private:
  uint32_t frame_ = 0;
  std::ostream* echo_ = nullptr;
  std::vector<std::string> lines_;
};

// Shortest text that reads back as the same double, the same on every platform.
std::string format_double(double value);
std::string format_hex(uint32_t value);

}  // namespace host
