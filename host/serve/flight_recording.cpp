#include "host/serve/flight_recording.h"

#include <cmath>
#include <cstdio>

#include "host/flight_commands.h"
#include "host/flight_expectations.h"
#include "host/flight_run.h"

namespace host::serve {
namespace {

std::string format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

// Voices are heard within a frame of when the session heard them: the
// window is a little wider than a frame, so its ends need not be exact.
double window_edge(double seconds) {
  return std::round(std::max(0.0, seconds) * 100.0) / 100.0;
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

void FlightRecording::add_line(uint32_t frame, std::string line) {
  lines_.push_back({frame, std::move(line)});
}

void FlightRecording::heard(uint32_t frame, const std::string& path) {
  const double t = frame / frames_per_second_;
  const double margin = 1.5 / frames_per_second_;
  Expectation e;
  e.form = &expect_form("sound");
  e.subject = path;
  e.windowed = true;
  e.from_s = window_edge(t - margin);
  e.to_s = window_edge(t + margin);
  expectations_.push_back(e.form->line(e));
}

void FlightRecording::element(uint32_t frame, const std::string& label, uint32_t index,
                              const std::string& name, bool shown) {
  Expectation e;
  e.form = &expect_form("element");
  e.subject = label;
  e.element = index;
  e.element_name = name;
  e.shown = shown;
  e.to_s = std::strtod(flight_time(frame, frames_per_second_).c_str(), nullptr);
  expectations_.push_back(e.form->line(e));
}

std::string FlightRecording::text(uint32_t now, const std::string& title) const {
  std::string out = "# " + title + "\n";
  uint32_t at = 0;
  for (const Line& line : lines_) {
    if (line.frame != at) {
      at = line.frame;
      out += saved_text(make_line("live", "at", {flight_time(at, frames_per_second_)})) + "\n";
    }
    out += line.text + "\n";
  }
  if (now != at) {
    out += saved_text(make_line("live", "at", {flight_time(now, frames_per_second_)})) + "\n";
  }
  if (!expectations_.empty()) out += "# what the session saw\n";
  for (const std::string& e : expectations_) out += e + "\n";
  return out;
}

}  // namespace host::serve
