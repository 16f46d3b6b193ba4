#pragma once
// The host's deterministic record of a flight: one line per observable event,
// stamped with the frame number. A native run and a run under Wine of the
// same flight must give the same lines, so nothing here depends on addresses
// or on the platform's number formatting.
//
// A log that neither keeps nor echoes its lines records nothing: callers ask
// recording() before they build any text, so a flight nobody reads costs no
// formatting at all.
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

  // Copies every new line to `out` as well (null: no copy).
  void set_echo(std::ostream* out);
  // Whether new lines are kept in memory for lines() (the default).
  void set_keep(bool keep);
  bool keeps() const { return keep_; }
  // Whether a new line goes anywhere; when not, add() drops it.
  bool recording() const { return recording_; }

  // Called whenever the log stops recording (false) or starts again (true),
  // so a watcher can stop its own reports and, on resuming, forget what
  // happened unseen meanwhile.
  using RecordingFn = void (*)(void* context, bool recording);
  void set_recording_hook(RecordingFn hook, void* context) {
    recording_hook_ = hook;
    recording_context_ = context;
  }

  void add(std::string_view text);
  const std::vector<std::string>& lines() const { return lines_; }
  void clear() { lines_.clear(); }

 private:
  void update_recording();

  uint32_t frame_ = 0;
  std::ostream* echo_ = nullptr;
  bool keep_ = true;
  bool recording_ = true;
  RecordingFn recording_hook_ = nullptr;
  void* recording_context_ = nullptr;
  std::vector<std::string> lines_;
};

// Shortest text that reads back as the same double, the same on every platform.
std::string format_double(double value);
std::string format_hex(uint32_t value);

// The same texts appended to a line under construction, without temporaries.
void append_double(std::string& out, double value);
void append_hex(std::string& out, uint32_t value);
void append_decimal(std::string& out, int64_t value);

}  // namespace host
