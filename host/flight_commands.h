#pragma once
// Every command a flight may use, one row each: its words, whether it
// belongs to the set-up, how it is checked before anything runs, what it
// tells the set-up and what it does in flight. The parser, its checks, the
// run loop and the usage text all read this one table.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "host/flight_args.h"
#include "host/panel_config.h"

namespace host {

class FlightRun;

// What the set-up lines of a flight fix before it runs.
struct FlightSetup {
  std::string folder;  // of the flight file: panel files are found from there
  double frames_per_second = 18.0;
  double ticks_per_second = 18.0;
  std::vector<PanelGauge> layout;  // placed by `panel` and `gauge` lines
};

enum class CommandPhase {
  kSetup,   // before `start` only
  kFlight,  // anywhere
  kExpect,  // an expectation, checked as the flight goes or at its end
};

struct FlightCommandRow {
  const char* verb;
  const char* usage;  // the arguments, as the usage text shows them
  const char* what;
  size_t min_args;
  size_t max_args;
  CommandPhase phase;
  void (*check)(const FlightCommand& c);                  // fail_at() on a mistake
  void (*read)(FlightSetup& setup, const FlightCommand& c);  // may be null
  void (*run)(FlightRun& run, const FlightCommand& c);       // may be null
};

std::span<const FlightCommandRow> flight_commands();
// The row of `c`'s verb with its argument count checked, or fail_at().
const FlightCommandRow& command_row(const FlightCommand& c);
// One line per command: "  VERB USAGE   WHAT".
std::string flight_commands_usage();

}  // namespace host
