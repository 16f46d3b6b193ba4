#include "host/flight_commands.h"

#include <filesystem>
#include <iterator>

#include "fssound/fssound_host.h"
#include "host/flight_expectations.h"
#include "host/flight_run.h"
#include "host/flight_script.h"
#include "host/sim_names.h"

namespace host {
namespace {

SimName variable_arg(const FlightCommand& c, size_t i) {
  auto name = find_sim_name(c.args[i]);
  if (!name) fail_at(c, "unknown variable '" + c.args[i] + "'; known: " + sim_names_help());
  return *name;
}

void no_check(const FlightCommand&) {}

void check_rate(const FlightCommand& c) {
  if (!(f64_arg(c, 0) > 0) || f64_arg(c, 0) > 10000) fail_at(c, "a rate is above 0 and sensible");
}
void check_seconds(const FlightCommand& c) {
  seconds_arg(c, 0);
}
void check_frames(const FlightCommand& c) {
  u32_arg(c, 0);
}
void check_set(const FlightCommand& c) {
  variable_arg(c, 0);
  f64_arg(c, 1);
}
void check_seti(const FlightCommand& c) {
  variable_arg(c, 0);
  i32_arg(c, 1);
}
void check_ramp(const FlightCommand& c) {
  variable_arg(c, 0);
  f64_arg(c, 1);
  keyword_arg(c, 2, "over");
  seconds_arg(c, 3);
}
void check_click(const FlightCommand& c) {
  if (c.args[1] == "area") {
    if (u32_arg(c, 2) == 0) fail_at(c, "areas are numbered from 1");
  } else {
    i32_arg(c, 1);
    i32_arg(c, 2);
  }
}
void check_send(const FlightCommand& c) {
  u32_arg(c, 1);
}
void check_write(const FlightCommand& c) {
  i32_arg(c, 1);
}
void check_number(const FlightCommand& c) {
  f64_arg(c, 0);
}
void check_fail(const FlightCommand& c) {
  if (c.args[0] != "load" && c.args[0] != "play") fail_at(c, "fail takes 'load' or 'play'");
  if (c.args.size() == 3) i32_arg(c, 2);
}
void check_answer(const FlightCommand& c) {
  if (c.args[0] != "load") fail_at(c, "answer takes 'load'");
  u32_arg(c, 2);
}
void check_expect(const FlightCommand& c) {
  parse_expectation(c);
}

void read_rate(FlightSetup& s, const FlightCommand& c) {
  s.frames_per_second = f64_arg(c, 0);
}
void read_tick_rate(FlightSetup& s, const FlightCommand& c) {
  s.ticks_per_second = f64_arg(c, 0);
}
// A panel file is found from the flight's folder, unless its path is full.
void read_panel(FlightSetup& s, const FlightCommand& c) {
  const bool full = std::filesystem::path(c.args[0]).is_absolute();
  for (PanelGauge g : load_panel(full ? c.args[0] : s.folder + c.args[0]).gauges()) {
    g.where = c.where + " " + g.where;
    s.layout.push_back(g);
  }
}
// A gauge of its own has no place on a panel window: pictures put it aside.
void read_gauge(FlightSetup& s, const FlightCommand& c) {
  s.layout.push_back(PanelGauge{"", c.args[0], c.args[1]});
}

// The gauges of the panel file this line read, in panel order.
void run_panel(FlightRun& r, const FlightCommand& c) {
  for (const PanelGauge& g : r.script().layout()) {
    if (g.where.rfind(c.where + " ", 0) == 0) r.host().add_gauge(g.module, g.gauge);
  }
}
void run_gauge(FlightRun& r, const FlightCommand& c) {
  r.host().add_gauge(c.args[0], c.args[1]);
}
void run_start(FlightRun& r, const FlightCommand&) {
  r.host().start();
  r.check_pending();
}
void run_register(FlightRun& r, const FlightCommand& c) {
  r.host().named().host_storage(c.args[0]);
}
void run_at(FlightRun& r, const FlightCommand& c) {
  uint32_t target = frames_in(seconds_arg(c, 0), r.frames_per_second());
  if (target < r.host().frame()) fail_at(c, "the flight is already past " + c.args[0] + " s");
  r.run_until(target);
}
void run_wait(FlightRun& r, const FlightCommand& c) {
  r.run_until(r.host().frame() + frames_in(seconds_arg(c, 0), r.frames_per_second()));
}
void run_frames(FlightRun& r, const FlightCommand& c) {
  r.run_until(r.host().frame() + u32_arg(c, 0));
}
void run_set(FlightRun& r, const FlightCommand& c) {
  r.set(variable_arg(c, 0), f64_arg(c, 1));
}
// A bare token number says nothing of how the host holds it: `seti` says
// a 32-bit integer. A known name is served as the table of names says.
void run_seti(FlightRun& r, const FlightCommand& c) {
  SimName var = variable_arg(c, 0);
  if (c.args[0] == std::to_string(var.token)) var.integer = true;
  r.set(var, i32_arg(c, 1));
}
void run_ramp(FlightRun& r, const FlightCommand& c) {
  r.ramp(variable_arg(c, 0), f64_arg(c, 1), frames_in(seconds_arg(c, 3), r.frames_per_second()));
}
void run_click(FlightRun& r, const FlightCommand& c) {
  r.press(c);
}
void run_hold(FlightRun& r, const FlightCommand& c) {
  if (size_t area = r.press(c); area != 0) r.hold(c.args[0], area);
}
void run_release(FlightRun& r, const FlightCommand& c) {
  r.release(c.args[0]);
}
void run_write(FlightRun& r, const FlightCommand& c) {
  r.host().named().write(c.args[0], i32_arg(c, 1));
}
void run_send(FlightRun& r, const FlightCommand& c) {
  r.host().send(c.args[0], u32_arg(c, 1));
}
void run_fail(FlightRun&, const FlightCommand& c) {
  const uint32_t operation = c.args[0] == "load" ? kFSSoundLoad : kFSSoundPlay;
  FSSound_HostFail(operation, c.args[1].c_str(), c.args.size() == 3 ? i32_arg(c, 2) : -1);
}
void run_answer(FlightRun&, const FlightCommand& c) {
  FSSound_HostLoadAnswer(c.args[1].c_str(), u32_arg(c, 2));
}
void run_ticks_per_frame(FlightRun& r, const FlightCommand& c) {
  r.host().set_ticks_per_frame(f64_arg(c, 0));
}
void run_clock(FlightRun& r, const FlightCommand& c) {
  r.host().set_clock(f64_arg(c, 0));
}
void run_stop(FlightRun& r, const FlightCommand&) {
  r.host().stop();
}

using P = CommandPhase;

// NAME is a readable name such as altitude_m (see sim_names.cpp) or a token number.
constexpr FlightCommandRow kCommands[] = {
    {"rate", "FPS", "frames per second (default 18)", 1, 1, P::kSetup, check_rate, read_rate,
     nullptr},
    {"tick_rate", "TPS",
     "ticks of the host clock per second (default 18; other rates skip or repeat ticks)", 1, 1,
     P::kSetup, check_rate, read_tick_rate, nullptr},
    {"panel", "FILE", "place the gauges of a panel configuration", 1, 1, P::kSetup, no_check,
     read_panel, run_panel},
    {"gauge", "MODULE GAUGE", "place one gauge (loads its module once)", 2, 2, P::kSetup, no_check,
     read_gauge, run_gauge},
    {"register", "NAME", "a named variable owned by an instrument outside the modules", 1, 1,
     P::kFlight, no_check, nullptr, run_register},
    {"start", "", "install every gauge, then initialize every gauge", 0, 0, P::kFlight, no_check,
     nullptr, run_start},
    {"at", "T", "fly on until T seconds of flight time", 1, 1, P::kFlight, check_seconds, nullptr,
     run_at},
    {"wait", "T", "fly on for T seconds", 1, 1, P::kFlight, check_seconds, nullptr, run_wait},
    {"frames", "N", "fly on for N frames", 1, 1, P::kFlight, check_frames, nullptr, run_frames},
    {"set", "NAME VALUE", "a simulation variable, from now on", 2, 2, P::kFlight, check_set,
     nullptr, run_set},
    {"seti", "NAME VALUE", "the same with a whole number; a bare token is held as an integer", 2,
     2, P::kFlight, check_seti, nullptr, run_seti},
    {"ramp", "NAME VALUE over T", "move it in even steps to VALUE over T seconds", 4, 4, P::kFlight,
     check_ramp, nullptr, run_ramp},
    {"click", "GAUGE X Y | GAUGE area N", "a left click at a pixel or on the Nth click area", 3, 3,
     P::kFlight, check_click, nullptr, run_click},
    {"hold", "GAUGE X Y | GAUGE area N", "press and hold: areas that repeat are called every frame",
     3, 3, P::kFlight, check_click, nullptr, run_hold},
    {"release", "GAUGE", "let go", 1, 1, P::kFlight, no_check, nullptr, run_release},
    {"write", "NAME VALUE", "write a named variable as an instrument that links to it", 2, 2,
     P::kFlight, check_write, nullptr, run_write},
    {"send", "GAUGE CODE", "call a gauge's callback with any service code", 2, 2, P::kFlight,
     check_send, nullptr, run_send},
    {"fail", "load|play PATH [N]", "the next N (default: every) loads or plays of PATH fail", 2, 3,
     P::kFlight, check_fail, nullptr, run_fail},
    {"answer", "load PATH N", "loads of PATH that give a handle answer N, not 1", 3, 3, P::kFlight,
     check_answer, nullptr, run_answer},
    {"ticks_per_frame", "T", "how far the clock moves per frame, from now on", 1, 1, P::kFlight,
     check_number, nullptr, run_ticks_per_frame},
    {"clock", "T", "set the clock for the next frame (it may jump back)", 1, 1, P::kFlight,
     check_number, nullptr, run_clock},
    {"expect", "...", "an expectation (see flight_expectations.h)", 2, 9, P::kExpect, check_expect,
     nullptr, nullptr},
    {"stop", "", "kill every gauge and unload the modules", 0, 0, P::kFlight, no_check, nullptr,
     run_stop},
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

std::string flight_commands_usage() {
  std::string out;
  for (const FlightCommandRow& row : kCommands) {
    std::string head = std::string("  ") + row.verb + (row.usage[0] != '\0' ? " " : "") + row.usage;
    if (head.size() < 34) head.resize(34, ' ');
    out += head + " " + row.what + (row.phase == CommandPhase::kSetup ? " (before start)" : "") +
           "\n";
  }
  return out;
}

}  // namespace host
