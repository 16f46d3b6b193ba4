#include "host/flight_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "fssound/fssound_host.h"
#include "host/aircraft_commands.h"
#include "host/flight_expectations.h"
#include "host/flight_run.h"
#include "host/flight_script.h"
#include "host/host_error.h"

namespace host {
namespace {

using Args = CommandArgs;
using Setup = FlightSetup;

SimName variable_arg(const FlightCommand& c, size_t i) {
  auto name = find_sim_name(c.args[i]);
  if (!name) fail_at(c, "unknown variable '" + c.args[i] + "'; known: " + sim_names_help());
  return *name;
}

// Reading the words: each fills the arguments its command uses.
void parse_rate(const FlightCommand& c, const Setup&, Args& a) {
  a.value = f64_arg(c, 0);
  if (!(a.value > 0) || a.value > 10000) fail_at(c, "a rate is above 0 and sensible");
}
void parse_panel(const FlightCommand& c, const Setup& s, Args& a) {
  const bool full = std::filesystem::path(c.args[0]).is_absolute();
  a.path = full ? c.args[0] : s.folder + c.args[0];
}
void parse_gauge(const FlightCommand& c, const Setup&, Args& a) {
  a.module = c.args[0];
  a.gauge = c.args[1];
}
void parse_name(const FlightCommand& c, const Setup&, Args& a) {
  a.name = c.args[0];
}
void parse_nothing(const FlightCommand&, const Setup&, Args&) {}
void parse_seconds(const FlightCommand& c, const Setup&, Args& a) {
  a.seconds = seconds_arg(c, 0);
}
void parse_frames(const FlightCommand& c, const Setup&, Args& a) {
  a.frames = u32_arg(c, 0);
}
void parse_set(const FlightCommand& c, const Setup&, Args& a) {
  a.var = variable_arg(c, 0);
  a.value = f64_arg(c, 1);
}
// A bare token number says nothing of how the host holds it: `seti` says
// a 32-bit integer. A known name is served as the table of names says.
void parse_seti(const FlightCommand& c, const Setup&, Args& a) {
  a.var = variable_arg(c, 0);
  const bool named =
      std::ranges::any_of(sim_names(), [&](const SimName& n) { return c.args[0] == n.name; });
  if (!named) a.var.integer = true;
  a.value = i32_arg(c, 1);
}
void parse_ramp(const FlightCommand& c, const Setup&, Args& a) {
  a.var = variable_arg(c, 0);
  a.value = f64_arg(c, 1);
  keyword_arg(c, 2, "over");
  a.seconds = seconds_arg(c, 3);
}
void parse_click(const FlightCommand& c, const Setup&, Args& a) {
  a.gauge = c.args[0];
  if (c.args[1] == "area") {
    a.area = u32_arg(c, 2);
    if (*a.area == 0) fail_at(c, "areas are numbered from 1");
  } else {
    a.x = i32_arg(c, 1);
    a.y = i32_arg(c, 2);
  }
}
void parse_write(const FlightCommand& c, const Setup&, Args& a) {
  a.name = c.args[0];
  a.whole = i32_arg(c, 1);
}
void parse_send(const FlightCommand& c, const Setup&, Args& a) {
  a.gauge = c.args[0];
  a.code = u32_arg(c, 1);
}
void parse_number(const FlightCommand& c, const Setup&, Args& a) {
  a.value = f64_arg(c, 0);
}
void parse_fail(const FlightCommand& c, const Setup&, Args& a) {
  if (c.args[0] != "load" && c.args[0] != "play") fail_at(c, "fail takes 'load' or 'play'");
  a.code = c.args[0] == "load" ? kFSSoundLoad : kFSSoundPlay;
  a.path = c.args[1];
  a.whole = c.args.size() == 3 ? i32_arg(c, 2) : -1;
}
void parse_answer(const FlightCommand& c, const Setup&, Args& a) {
  if (c.args[0] != "load") fail_at(c, "answer takes 'load'");
  a.path = c.args[1];
  a.code = u32_arg(c, 2);
}
void parse_expect(const FlightCommand& c, const Setup& s, Args&) {
  read_expectation(c, s);
}

void read_rate(Setup& s, const FlightLine& l) {
  s.frames_per_second = l.args.value;
}
void read_tick_rate(Setup& s, const FlightLine& l) {
  s.ticks_per_second = l.args.value;
}
void read_panel(Setup& s, const FlightLine& l) {
  for (PanelGauge g : load_panel(l.args.path).gauges()) {
    g.where = l.words.where + " " + g.where;
    s.layout.push_back(g);
  }
}
// A gauge of its own has no place on a panel window: pictures put it aside.
void read_gauge(Setup& s, const FlightLine& l) {
  s.layout.push_back(PanelGauge{"", l.args.module, l.args.gauge});
}

// The gauges of the panel file this line read, in panel order.
void run_panel(FlightRun& r, const FlightLine& l) {
  for (const PanelGauge& g : r.script().layout()) {
    if (g.where.rfind(l.words.where + " ", 0) == 0) r.host().add_gauge(g.module, g.gauge);
  }
}
void run_gauge(FlightRun& r, const FlightLine& l) {
  r.host().add_gauge(l.args.module, l.args.gauge);
}
void run_start(FlightRun& r, const FlightLine&) {
  r.host().start();
  r.check_pending();
}
void run_register(FlightRun& r, const FlightLine& l) {
  r.host().named().host_storage(l.args.name);
}
void run_clock_move(FlightRun& r, const FlightLine& l) {
  const uint32_t target = clock_target(l, r.host().frame(), r.frames_per_second());
  if (target < r.host().frame()) {
    fail_at(l.words, "the flight is already past " + l.words.args[0] + " s");
  }
  r.run_until(target);
}
void run_set(FlightRun& r, const FlightLine& l) {
  r.set(l.args.var, l.args.value);
}
void run_ramp(FlightRun& r, const FlightLine& l) {
  r.ramp(l.args.var, l.args.value, frames_in(l.args.seconds, r.frames_per_second()));
}
void run_click(FlightRun& r, const FlightLine& l) {
  r.press(l.args);
}
void run_hold(FlightRun& r, const FlightLine& l) {
  if (size_t area = r.press(l.args); area != 0) r.hold(l.args.gauge, area);
}
void run_write(FlightRun& r, const FlightLine& l) {
  r.host().named().write(l.args.name, l.args.whole);
}
void run_send(FlightRun& r, const FlightLine& l) {
  r.host().send(l.args.gauge, l.args.code);
}
void run_fail(FlightRun&, const FlightLine& l) {
  FSSound_HostFail(l.args.code, l.args.path.c_str(), l.args.whole);
}
void run_answer(FlightRun&, const FlightLine& l) {
  FSSound_HostLoadAnswer(l.args.path.c_str(), l.args.code);
}
void run_ticks_per_frame(FlightRun& r, const FlightLine& l) {
  r.host().set_ticks_per_frame(l.args.value);
}
void run_clock(FlightRun& r, const FlightLine& l) {
  r.host().set_clock(l.args.value);
}
void run_stop(FlightRun& r, const FlightLine&) {
  r.host().stop();
}

// A saved flight is read from wherever it is kept: its panel by full path.
std::vector<std::string> saved_panel(const Args& a) {
  return {std::filesystem::absolute(a.path).lexically_normal().string()};
}

using P = CommandPhase;
using M = ClockMove;
namespace ac = aircraft_commands;

// NAME is a readable name such as altitude_m (see sim_names.cpp) or a token number.
constexpr FlightCommandRow kCommands[] = {
    {"rate", "FPS", "frames per second (default 18)", 1, 1, P::kSetup, M::kNone, false, false,
     parse_rate, read_rate, nullptr, nullptr},
    {"tick_rate", "TPS",
     "ticks of the host clock per second (default 18; other rates skip or repeat ticks)", 1, 1,
     P::kSetup, M::kNone, false, false, parse_rate, read_tick_rate, nullptr, nullptr},
    {"panel", "FILE", "place the gauges of a panel configuration", 1, 1, P::kSetup, M::kNone, false,
     true, parse_panel, read_panel, run_panel, saved_panel},
    {"gauge", "MODULE GAUGE", "place one gauge (loads its module once)", 2, 2, P::kSetup, M::kNone,
     false, true, parse_gauge, read_gauge, run_gauge, nullptr},
    {"register", "NAME", "a named variable owned by an instrument outside the modules", 1, 1,
     P::kFlight, M::kNone, false, false, parse_name, nullptr, run_register, nullptr},
    {"start", "", "install every gauge, then initialize every gauge", 0, 0, P::kFlight, M::kNone,
     true, false, parse_nothing, nullptr, run_start, nullptr},
    {"at", "T", "fly on until T seconds of flight time", 1, 1, P::kFlight, M::kUntil, false, false,
     parse_seconds, nullptr, run_clock_move, nullptr},
    {"wait", "T", "fly on for T seconds", 1, 1, P::kFlight, M::kForSeconds, false, false,
     parse_seconds, nullptr, run_clock_move, nullptr},
    {"frames", "N", "fly on for N frames", 1, 1, P::kFlight, M::kForFrames, false, false,
     parse_frames, nullptr, run_clock_move, nullptr},
    {"set", "NAME VALUE", "a simulation variable, from now on", 2, 2, P::kFlight, M::kNone, false,
     false, parse_set, nullptr, run_set, nullptr},
    {"seti", "NAME VALUE", "the same with a whole number; a bare token is held as an integer", 2, 2,
     P::kFlight, M::kNone, false, false, parse_seti, nullptr, run_set, nullptr},
    {"ramp", "NAME VALUE over T", "move it in even steps to VALUE over T seconds", 4, 4, P::kFlight,
     M::kNone, false, false, parse_ramp, nullptr, run_ramp, nullptr},
    {"click", "GAUGE X Y | GAUGE area N", "a left click at a pixel or on the Nth click area", 3, 3,
     P::kFlight, M::kNone, false, false, parse_click, nullptr, run_click, nullptr},
    {"hold", "GAUGE X Y | GAUGE area N", "press and hold: areas that repeat are called every frame",
     3, 3, P::kFlight, M::kNone, false, false, parse_click, nullptr, run_hold, nullptr},
    {"release", "GAUGE | NAME",
     "let go of a gauge; or the aircraft serves NAME again after a set or ramp of it", 1, 1,
     P::kFlight, M::kNone, false, false, ac::parse_release, nullptr, ac::run_release, nullptr},
    {"write", "NAME VALUE", "write a named variable as an instrument that links to it", 2, 2,
     P::kFlight, M::kNone, false, false, parse_write, nullptr, run_write, nullptr},
    {"send", "GAUGE CODE", "call a gauge's callback with any service code", 2, 2, P::kFlight,
     M::kNone, false, false, parse_send, nullptr, run_send, nullptr},
    {"fail", "load|play PATH [N]", "the next N (default: every) loads or plays of PATH fail", 2, 3,
     P::kFlight, M::kNone, false, false, parse_fail, nullptr, run_fail, nullptr},
    {"answer", "load PATH N", "loads of PATH that give a handle answer N, not 1", 3, 3, P::kFlight,
     M::kNone, false, false, parse_answer, nullptr, run_answer, nullptr},
    {"ticks_per_frame", "T", "how far the clock moves per frame, from now on", 1, 1, P::kFlight,
     M::kNone, false, false, parse_number, nullptr, run_ticks_per_frame, nullptr},
    {"clock", "T", "set the clock for the next frame (it may jump back)", 1, 1, P::kFlight,
     M::kNone, false, false, parse_number, nullptr, run_clock, nullptr},
    // The aircraft (host/aircraft/): each after `aircraft` only.
    {"aircraft", "DISTANCE nm ALTITUDE ft SPEED kt [RATE fpm]",
     "start an aircraft on the track to the runway (ALTITUDE above sea level, RATE < 0 down)", 6, 8,
     P::kFlight, M::kNone, false, false, ac::parse_aircraft, nullptr, ac::run_aircraft, nullptr},
    {"descend", "RATE fpm", "command a descent, reached at 500 ft/min per second", 2, 2, P::kFlight,
     M::kNone, false, false, ac::parse_descend, nullptr, ac::run_vertical_speed, nullptr},
    {"climb", "RATE fpm", "command a climb (lifts off the ground)", 2, 2, P::kFlight, M::kNone,
     false, false, ac::parse_climb, nullptr, ac::run_vertical_speed, nullptr},
    {"level", "", "command a vertical speed of 0", 0, 0, P::kFlight, M::kNone, false, false,
     parse_nothing, nullptr, ac::run_vertical_speed, nullptr},
    {"speed", "SPEED kt", "command a ground speed, reached at 2 kt per second", 2, 2, P::kFlight,
     M::kNone, false, false, ac::parse_speed, nullptr, ac::run_speed, nullptr},
    {"gear", "up|down", "move the gear lever (full travel in 6 s)", 1, 1, P::kFlight, M::kNone,
     false, false, ac::parse_gear, nullptr, ac::run_gear, nullptr},
    {"flaps", "up|approach|landing|POSITION",
     "move the flap lever: 0, 10000, 16383 or 0..16383 (full travel in 8 s)", 1, 1, P::kFlight,
     M::kNone, false, false, ac::parse_flaps, nullptr, ac::run_flaps, nullptr},
    {"power", "on|off", "the GPWS's and radar altimeter's power switch", 1, 1, P::kFlight, M::kNone,
     false, false, ac::parse_power, nullptr, ac::run_power, nullptr},
    {"terrain", "FILE", "the ground along the track: a terrain profile (scenarios/terrain/)", 1, 1,
     P::kFlight, M::kNone, false, false, ac::parse_terrain, nullptr, ac::run_terrain,
     ac::saved_terrain},
    {"glidepath", "ANGLE deg [ELEVATION ft]",
     "a glide path to the threshold (elevation: the ground's at distance 0); one dot is 0.35 deg",
     2, 4, P::kFlight, M::kNone, false, false, ac::parse_glidepath, nullptr, ac::run_glidepath,
     nullptr},
    {"follow", "glidepath [OFFSET dots]",
     "fly the glide path, or OFFSET dots above it (negative: below), until a vertical speed", 1, 3,
     P::kFlight, M::kNone, false, false, ac::parse_follow, nullptr, ac::run_follow, nullptr},
    {"expect", "FORM", "an expectation: one of the forms below", 2, 9, P::kExpect, M::kNone, false,
     false, parse_expect, nullptr, nullptr, nullptr},
    {"stop", "", "kill every gauge and unload the modules", 0, 0, P::kFlight, M::kNone, false,
     false, parse_nothing, nullptr, run_stop, nullptr},
};

}  // namespace

std::span<const FlightCommandRow> flight_commands() {
  return kCommands;
}

const FlightCommandRow& command_row(const FlightCommand& c) {
  for (const FlightCommandRow& row : kCommands) {
    if (c.verb != row.verb) continue;
    if (c.args.size() < row.min_args || c.args.size() > row.max_args) {
      fail_at(c, "'" + c.verb + "' takes " + std::to_string(row.min_args) +
                     (row.max_args != row.min_args ? " to " + std::to_string(row.max_args) : "") +
                     " argument(s)");
    }
    return row;
  }
  fail_at(c, "unknown command '" + c.verb + "'");
}

FlightLine read_line(const FlightCommand& c, const FlightSetup& setup) {
  FlightLine line{c, &command_row(c), {}};
  line.row->parse(line.words, setup, line.args);
  return line;
}

FlightLine make_line(const std::string& where, const std::string& verb,
                     std::vector<std::string> words, const FlightSetup& setup) {
  return read_line(FlightCommand{where, verb, std::move(words)}, setup);
}

std::string saved_text(const FlightLine& line) {
  std::string text = line.words.verb;
  const std::vector<std::string> words =
      line.row->saved_words != nullptr ? line.row->saved_words(line.args) : line.words.args;
  for (const std::string& word : words) text += " " + word;
  return text;
}

uint32_t clock_target(const FlightLine& line, uint32_t now, double frames_per_second) {
  switch (line.row->clock) {
    case ClockMove::kUntil:
      return frames_in(line.args.seconds, frames_per_second);
    case ClockMove::kForSeconds:
      return now + frames_in(line.args.seconds, frames_per_second);
    case ClockMove::kForFrames:
      return now + line.args.frames;
    case ClockMove::kNone:
      break;
  }
  return now;
}

std::string flight_commands_usage() {
  std::string out;
  // What it does in a column of its own, under a head too long to leave room.
  auto add = [&out](std::string head, const std::string& what) {
    constexpr size_t kColumn = 34;
    if (head.size() > kColumn) {
      out += head + "\n";
      head.clear();
    }
    head.resize(kColumn, ' ');
    out += head + " " + what + "\n";
  };
  for (const FlightCommandRow& row : kCommands) {
    add(std::string("  ") + row.verb + (row.usage[0] != '\0' ? " " : "") + row.usage,
        row.what + std::string(row.phase == CommandPhase::kSetup ? " (before start)" : ""));
  }
  out += "Expectations, one form a line (times in seconds of flight; \"61\" or \"61s\"):\n";
  for (const ExpectForm& form : expect_forms())
    add(std::string("  expect ") + form.syntax, form.help);
  return out;
}

std::string number_text(double value) {
  char text[40];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

}  // namespace host
