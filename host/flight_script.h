#pragma once
// A flight: the gauges to place and what happens frame by frame, one command
// per line. The whole file is read and checked before anything runs, so a
// mistake is reported as `file:line: what is wrong` with nothing flown.
//
//   # a comment              blank lines and everything after '#' are ignored
//   gauge MODULE GAUGE       place a gauge (loads its module once)
//   start                    install every gauge, then initialize every gauge
//   set TOKEN VALUE          a simulation variable as a 64-bit float
//   seti TOKEN VALUE         a simulation variable held as a 32-bit integer
//   frames N                 run N frames
//   ramp N TOKEN FROM TO ...  run N frames moving each TOKEN in even steps
//                            from FROM (not included) to TO (on the last frame)
//   ticks_per_frame T        how far the clock (token 1) moves per frame (default 1)
//   clock T                  set the clock at once (it may jump back)
//   click GAUGE X Y          a left click at a pixel of a gauge
//   send GAUGE CODE          call a gauge's callback with any service code
//   register NAME            a named variable owned by an instrument outside the modules
//   write NAME VALUE         write a named variable as an instrument that links to it
//   fail load|play PATH [N]  the next N (default: every) loads or plays of PATH fail
//   stop                     kill every gauge and unload the modules
#include <cstdint>
#include <string>
#include <vector>

#include "host/panel_host.h"

namespace host {

struct FlightCommand {
  std::string where;  // file:line
  std::string verb;
  std::vector<std::string> args;
};

class FlightScript {
 public:
  static FlightScript parse(const std::string& text, const std::string& file_name);
  static FlightScript load(const std::string& path);

  // Flies it; a flight that does not say `stop` is stopped at its end.
  void run(PanelHost& host) const;

  const std::vector<FlightCommand>& commands() const { return commands_; }

 private:
  std::vector<FlightCommand> commands_;
};

}  // namespace host
