#pragma once
// A live session kept as a flight: every line the session applied, each at
// the frame it was applied at, and what was seen (voices heard, lamps
// shown or hidden) as expectations, so that flying the file again gives the
// same event log and checks that the same things happened.
#include <cstdint>
#include <string>
#include <vector>

#include "host/flight_args.h"

namespace host::serve {

// A command as a flight line: its verb and arguments, one space apart.
std::string flight_line(const FlightCommand& command);

class FlightRecording {
 public:
  explicit FlightRecording(double frames_per_second = 18.0)
      : frames_per_second_(frames_per_second) {}

  // A line applied between frames, after frame `frame`, as a saved flight
  // writes it (host/flight_commands.h: saved_text).
  void add_line(uint32_t frame, std::string line);
  void add(uint32_t frame, const FlightCommand& command) { add_line(frame, flight_line(command)); }
  // A voice the library started during frame `frame` (or the inputs after it).
  void heard(uint32_t frame, const std::string& path);
  // An element's state as the flight checks it after frame `frame`, by
  // its name when its module names it (else `name` is empty).
  void element(uint32_t frame, const std::string& label, uint32_t index, const std::string& name,
               bool shown);

  // The flight file, flown up to frame `now`.
  std::string text(uint32_t now, const std::string& title) const;
  size_t size() const { return lines_.size() + expectations_.size(); }

 private:
  struct Line {
    uint32_t frame;
    std::string text;
  };
  double frames_per_second_;
  std::vector<Line> lines_;
  std::vector<std::string> expectations_;
};

// The shortest time in seconds that a flight's `at` turns into `frame`.
std::string flight_time(uint32_t frame, double frames_per_second);

}  // namespace host::serve
