#pragma once
// Every command a flight may use, one row each: its words, whether it
// belongs to the set-up, how its words are read (once, into typed
// arguments, so a mistake is reported as `file:line: what is wrong` before
// anything runs), what it tells the set-up, what it does in flight, how far
// it moves the clock and whether it starts the flight. The parser, the run
// loop, the live panel and the usage text all read this one table;
// expectations are the forms of flight_expectations.h.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/aircraft/terrain_profile.h"
#include "host/flight_args.h"
#include "host/panel_config.h"
#include "host/sim_names.h"

namespace host {

class FlightRun;
struct FlightLine;

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

// How a line moves the flight's clock.
enum class ClockMove {
  kNone,
  kUntil,       // to `seconds` of flight time
  kForSeconds,  // on by `seconds`
  kForFrames,   // on by `frames`
};

// A line's arguments, read once; each command fills the fields it uses.
struct CommandArgs {
  std::string gauge;           // click, hold, release of a gauge, send; the gauge of `gauge`
  std::string module;          // gauge
  std::string name;            // register, write: a named variable
  std::string path;            // panel (as found from the flight's folder), fail, answer
  SimName var{};               // set, seti, ramp, release of a variable
  double value = 0;            // rate, tick_rate, set, seti, ramp's end, ticks_per_frame, clock
  double seconds = 0;          // at, wait, ramp's span
  uint32_t frames = 0;         // frames
  uint32_t code = 0;           // send's service code, answer's handle, fail's operation
  int32_t whole = 0;           // write's value, fail's count (-1: every one)
  std::optional<size_t> area;  // click, hold: by area number, else at (x, y)
  int32_t x = 0;
  int32_t y = 0;
  bool variable = false;  // release: of var's override, not of a gauge
  // The aircraft's commands: where it starts, vertical speed (negative
  // descending), speed, gear down or power on, the glide path's threshold;
  // flaps' position, the glide path's angle and follow's dots are in value.
  double distance_nm = 0;
  double altitude_ft = 0;
  double speed_kt = 0;
  double rate_fpm = 0;
  bool on = false;
  std::optional<double> elevation_ft;
  std::shared_ptr<const aircraft::TerrainProfile> profile;  // terrain, read once
};

struct FlightCommandRow {
  const char* verb;
  const char* usage;  // the arguments, as the usage text shows them
  const char* what;
  size_t min_args;
  size_t max_args;
  CommandPhase phase;
  ClockMove clock;
  bool starts;  // the line that starts the flight (`start`)
  bool places;  // places gauges (`panel`, `gauge`)
  // Reads the words into `args`; fail_at() on a mistake.
  void (*parse)(const FlightCommand& c, const FlightSetup& setup, CommandArgs& args);
  void (*read)(FlightSetup& setup, const FlightLine& line);  // may be null
  void (*run)(FlightRun& run, const FlightLine& line);       // may be null
  // The words a saved flight writes for it, readable from anywhere; null:
  // the words as given.
  std::vector<std::string> (*saved_words)(const CommandArgs& args);
};

// One line of a flight, read: its words, its row and its arguments.
struct FlightLine {
  FlightCommand words;
  const FlightCommandRow* row;
  CommandArgs args;
};

std::span<const FlightCommandRow> flight_commands();
// The row of `c`'s verb with its argument count checked, or fail_at().
const FlightCommandRow& command_row(const FlightCommand& c);
// Reads a line through its row (expectations are read by their forms).
FlightLine read_line(const FlightCommand& c, const FlightSetup& setup);
// A line made by the host itself (the live panel), read and checked as a
// flight's line is; throws HostError naming `where` when it does not read.
FlightLine make_line(const std::string& where, const std::string& verb,
                     std::vector<std::string> words, const FlightSetup& setup = {});
// The line as a saved flight writes it.
std::string saved_text(const FlightLine& line);

// The frame a line that moves the clock flies to, from frame `now`.
uint32_t clock_target(const FlightLine& line, uint32_t now, double frames_per_second);

// One line per command, then one per expectation form: "  VERB USAGE   WHAT".
std::string flight_commands_usage();

// A number as the shortest text that reads back as the same double.
std::string number_text(double value);

}  // namespace host
