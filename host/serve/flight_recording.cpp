#include "host/serve/flight_recording.h"

#include <cmath>
#include <cstdio>

#include "host/flight_run.h"

namespace host::serve {
namespace {

std::string format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

// Voices are heard within a frame of when the session heard them: the
// window is a little wider than a frame, so the text need not be exact.
std::string window_edge(double seconds) {
  return format("%.2f", std::max(0.0, seconds));
}

}  // namespace

std::string flight_line(const FlightCommand& command) {
  std::string line = command.verb;
  for (const std::string& word : command.args) line += " " + word;
  return line;
}

std::string flight_time(uint32_t frame, double frames_per_second) {
  const double exact = frame / frames_per_second;
  for (int decimals = 0; decimals <= 9; ++decimals) {
    char pattern[16];
    std::snprintf(pattern, sizeof pattern, "%%.%df", decimals);
    std::string text = format(pattern, exact);
    if (frames_in(std::strtod(text.c_str(), nullptr), frames_per_second) == frame) return text;
  }
  return format("%.17g", exact);
}

void FlightRecording::add(uint32_t frame, const FlightCommand& command) {
  lines_.push_back({frame, flight_line(command)});
}

void FlightRecording::heard(uint32_t frame, const std::string& path) {
  const double t = frame / frames_per_second_;
  const double margin = 1.5 / frames_per_second_;
  expectations_.push_back("expect sound " + path + " between " + window_edge(t - margin) + " and " +
                          window_edge(t + margin));
}

void FlightRecording::element(uint32_t frame, const std::string& label, uint32_t index,
                              bool shown) {
  expectations_.push_back("expect element " + std::to_string(index) + " of " + label +
                          (shown ? " shown" : " hidden") + " at " +
                          flight_time(frame, frames_per_second_));
}

std::string FlightRecording::text(uint32_t now, const std::string& title) const {
  std::string out = "# " + title + "\n";
  uint32_t at = 0;
  for (const Line& line : lines_) {
    if (line.frame != at) {
      at = line.frame;
      out += "at " + flight_time(at, frames_per_second_) + "\n";
    }
    out += line.text + "\n";
  }
  if (now != at) out += "at " + flight_time(now, frames_per_second_) + "\n";
  if (!expectations_.empty()) out += "# what the session saw\n";
  for (const std::string& e : expectations_) out += e + "\n";
  return out;
}

}  // namespace host::serve
