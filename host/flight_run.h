#pragma once
// One flight while it runs: the host it flies, the ramps and held clicks in
// progress, and the expectations still waiting for their time.
#include <cstdint>
#include <string>
#include <vector>

#include "host/flight_args.h"
#include "host/flight_commands.h"
#include "host/flight_expectations.h"
#include "host/panel_host.h"
#include "host/sim_names.h"

namespace host {

class FlightScript;

class FlightRun {
 public:
  FlightRun(const FlightScript& script, PanelHost& host);

  PanelHost& host() { return host_; }
  const FlightScript& script() const { return script_; }
  double frames_per_second() const;

  void run_until(uint32_t frame) {
    while (host_.frame() < frame) run_frame();
  }
  // Serves a value in the name's unit, from now on: a ramp of the same
  // variable in progress ends here. A name the aircraft drives is the
  // flight's from now on, until release_override().
  void set(const SimName& var, double value);
  // Moves a variable in even steps from where it is to `to` over `frames`.
  void ramp(const SimName& var, double to, uint32_t frames);
  // Starts (or restarts) the aircraft; it serves every name it drives again.
  void start_aircraft(aircraft::Aircraft a);
  // The aircraft flying, or a HostError saying how to start one.
  aircraft::Aircraft& flying();
  // The aircraft serves `var` again from the next frame.
  void release_override(const SimName& var);
  // The tokens of driven names the flight has set or ramped, in order.
  const std::vector<uint32_t>& overridden() const { return overridden_; }
  // A click at a gauge's pixel or on its area; returns the area.
  size_t press(const CommandArgs& click);
  void hold(const std::string& label, size_t area) { held_.push_back({label, area}); }
  void release(const std::string& label);
  // The variables a ramp is moving and the gauges held, now.
  std::vector<SimName> ramping() const;
  std::vector<std::string> held_gauges() const;
  // Checks the expectations on the host's state whose time has come.
  void check_pending();
  // Stops the host and checks the expectations on the flight's events:
  // one result per expectation, in the flight's order.
  std::vector<ExpectationResult> finish();

 private:
  struct Ramp {
    SimName var;
    double from, to;  // in the name's unit
    uint32_t start_frame, frames;
  };
  struct Held {
    std::string label;
    size_t area;
  };

  void run_frame();
  size_t index_of(const Expectation& e) const;
  void note_time_written(const SimName& var);
  void note_override(const SimName& var);

  const FlightScript& script_;
  PanelHost& host_;
  std::vector<Ramp> ramps_;
  std::vector<Held> held_;
  std::vector<uint32_t> overridden_;
  std::vector<const Expectation*> pending_;
  std::vector<ExpectationResult> results_;  // by the expectations' order

  bool time_by_flight_ = false;
};

// Frames in `seconds` of flight, rounded.
uint32_t frames_in(double seconds, double frames_per_second);

}  // namespace host
