#pragma once
// What a flight expects to happen. A flight with expectations is a test: the
// host checks each one and names every expectation that failed.
//
//   expect sound PATH [between A and B]      PATH heard: the library started it (in that span)
//   expect no sound PATH [between A and B]
//   expect key ID [between A and B]          key event ID sent
//   expect no key ID [between A and B]
//   expect element N of GAUGE shown|hidden at T
//   expect var NAME = VALUE at T             a named variable's value
// Times are seconds of flight time ("61" or "61s"; a lone "s" is skipped).
#include <cstdint>
#include <string>
#include <vector>

#include "host/event.h"
#include "host/flight_args.h"

namespace host {

class PanelHost;

struct Expectation {
  enum Kind { kSound, kNoSound, kKey, kNoKey, kElement, kVar };
  std::string where;
  std::string text;
  Kind kind;
  std::string subject;  // sound path, key id, gauge label or variable name
  size_t element = 0;
  bool shown = false;
  int32_t value = 0;
  bool windowed = false;
  double from_s = 0;
  double to_s = 0;  // for element and var: the time of the check

  // Element and var expectations read the host's state at their time;
  // sound and key expectations read the flight's events at its end.
  bool reads_state() const { return kind == kElement || kind == kVar; }
};

// Reads the words after "expect".
Expectation parse_expectation(const FlightCommand& c);

// Checks an element or var expectation against the host now; "" when met.
std::string check_state(const Expectation& e, const PanelHost& host);
// Checks a sound or key expectation against the flight's events; "" when met.
std::string check_events(const Expectation& e, const std::vector<Event>& events,
                         double frames_per_second);

}  // namespace host
