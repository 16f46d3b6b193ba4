#pragma once
// A flight: the gauges to place, what happens over time, and what is
// expected. One command per line; '#' starts a comment. The whole file is
// read and checked before anything runs, so a mistake is reported as
// `file:line: what is wrong` with nothing flown.
//
// Set-up
//   rate FPS                 frames per second (default 18)
//   tick_rate TPS            ticks of the host clock per second (default 18;
//                            other rates make the clock skip or repeat ticks)
//   panel FILE               place the gauges of a panel configuration
//   gauge MODULE GAUGE       place one gauge (loads its module once)
//   register NAME            a named variable owned by an instrument outside the modules
//   start                    install every gauge, then initialize every gauge
// Time
//   at T                     fly on until T seconds of flight time
//   wait T                   fly on for T seconds
//   frames N                 fly on for N frames
// Inputs (NAME: a readable name such as altitude_m, or a token number)
//   set NAME VALUE           a simulation variable, from now on
//   seti NAME VALUE          one the host holds as a 32-bit integer
//   ramp NAME VALUE over T   move it in even steps to VALUE over T seconds
//   click GAUGE X Y          a left click at a pixel of a gauge
//   click GAUGE area N       a left click on its Nth click area
//   hold GAUGE area N        press and hold: areas that repeat are called every frame
//   release GAUGE            let go
//   write NAME VALUE         write a named variable as an instrument that links to it
//   send GAUGE CODE          call a gauge's callback with any service code
//   fail load|play PATH [N]  the next N (default: every) loads or plays of PATH fail
//   answer load PATH N       loads of PATH that give a handle answer N, not 1
//   ticks_per_frame T        how far the clock moves per frame, from now on
//   clock T                  set the clock for the next frame (it may jump back)
// Checks (see flight_expectations.h)
//   expect ...
//   stop                     kill every gauge and unload the modules
#include <cstdint>
#include <string>
#include <vector>

#include "host/flight_args.h"
#include "host/flight_expectations.h"
#include "host/panel_config.h"
#include "host/panel_host.h"

namespace host {

class FlightScript {
 public:
  static FlightScript parse(const std::string& text, const std::string& file_name);
  static FlightScript load(const std::string& path);

  // Flies it; a flight that does not say `stop` is stopped at its end.
  // Returns one line for each expectation that failed.
  std::vector<std::string> run(PanelHost& host) const;

  const std::vector<FlightCommand>& commands() const { return commands_; }
  const std::vector<Expectation>& expectations() const { return expectations_; }
  double frames_per_second() const { return frames_per_second_; }
  // The gauges placed by `panel` and `gauge` lines, with their places.
  const std::vector<PanelGauge>& layout() const { return layout_; }

 private:
  std::vector<FlightCommand> commands_;
  std::vector<Expectation> expectations_;
  std::vector<PanelGauge> layout_;
  double frames_per_second_ = 18.0;
  double ticks_per_second_ = 18.0;
};

}  // namespace host
