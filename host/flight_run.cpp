#include "host/flight_run.h"

#include <algorithm>

#include "host/flight_script.h"
#include "host/host_error.h"
#include "host/sim_write.h"

namespace host {

uint32_t frames_in(double seconds, double frames_per_second) {
  return frame::trunc_saturate<uint32_t>(seconds * frames_per_second + 0.5);
}

FlightRun::FlightRun(const FlightScript& script, PanelHost& host)
    : script_(script), host_(host), results_(script.expectations().size()) {
  for (const Expectation& e : script.expectations()) {
    if (e.reads_state()) pending_.push_back(&e);
  }
}

double FlightRun::frames_per_second() const {
  return script_.frames_per_second();
}

void FlightRun::note_time_written(const SimName& var) {
  if (var.token == kTokenTimeSeconds) time_by_flight_ = true;
}

void FlightRun::note_override(const SimName& var) {
  if (host_.aircraft() == nullptr || !aircraft::drives(var)) return;
  if (std::find(overridden_.begin(), overridden_.end(), var.token) == overridden_.end()) {
    overridden_.push_back(var.token);
  }
}

void FlightRun::start_aircraft(aircraft::Aircraft a) {
  host_.start_aircraft(std::move(a));
  overridden_.clear();
}

aircraft::Aircraft& FlightRun::flying() {
  aircraft::Aircraft* a = host_.aircraft();
  if (a == nullptr)
    throw HostError("no aircraft: start one with `aircraft DISTANCE nm ALTITUDE ft SPEED kt`");
  return *a;
}

void FlightRun::release_override(const SimName& var) {
  std::erase(overridden_, var.token);
}

void FlightRun::set(const SimName& var, double value) {
  note_time_written(var);
  note_override(var);
  std::erase_if(ramps_, [&](const Ramp& r) { return r.var.token == var.token; });
  serve_variable(host_.sim(), var, value);
}

std::vector<SimName> FlightRun::ramping() const {
  std::vector<SimName> vars;
  for (const Ramp& r : ramps_) vars.push_back(r.var);
  return vars;
}

std::vector<std::string> FlightRun::held_gauges() const {
  std::vector<std::string> labels;
  for (const Held& h : held_) {
    if (std::find(labels.begin(), labels.end(), h.label) == labels.end()) labels.push_back(h.label);
  }
  return labels;
}

void FlightRun::ramp(const SimName& var, double to, uint32_t frames) {
  note_time_written(var);
  note_override(var);
  ramps_.push_back(
      {var, variable_value(host_.sim(), var), to, host_.frame(), std::max(1u, frames)});
}

void FlightRun::run_frame() {
  const uint32_t next = host_.frame() + 1;
  // The aircraft first, so that the flight's ramps serve over what it drives.
  if (aircraft::Aircraft* a = host_.aircraft()) {
    a->step(1.0 / frames_per_second());
    a->serve(host_.sim(), overridden_);
  }
  for (auto it = ramps_.begin(); it != ramps_.end();) {
    double done = static_cast<double>(next - it->start_frame) / it->frames;
    serve_variable(host_.sim(), it->var, it->from + (it->to - it->from) * done);
    it = next - it->start_frame >= it->frames ? ramps_.erase(it) : it + 1;
  }
  if (!time_by_flight_) host_.sim().set(kTokenTimeSeconds, next / frames_per_second());
  for (const Held& h : held_) {
    if (host_.area_repeats(h.label, h.area)) host_.click_area(h.label, h.area);
  }
  host_.run_frame();
  check_pending();
}

void FlightRun::release(const std::string& label) {
  std::erase_if(held_, [&](const Held& h) { return h.label == label; });
}

void FlightRun::check_pending() {
  for (auto it = pending_.begin(); it != pending_.end();) {
    const Expectation& e = **it;
    if (frames_in(e.to_s, frames_per_second()) > host_.frame()) {
      ++it;
      continue;
    }
    results_[index_of(e)] = check_expectation(e, host_, frames_per_second());
    it = pending_.erase(it);
  }
}

size_t FlightRun::press(const CommandArgs& click) {
  if (click.area) {
    host_.click_area(click.gauge, *click.area);
    return *click.area;
  }
  return host_.click(click.gauge, click.x, click.y);
}

size_t FlightRun::index_of(const Expectation& e) const {
  return static_cast<size_t>(&e - script_.expectations().data());
}

std::vector<ExpectationResult> FlightRun::finish() {
  for (const Expectation* e : pending_) results_[index_of(*e)] = not_reached(*e);
  pending_.clear();
  if (host_.started()) host_.stop();
  for (const Expectation& e : script_.expectations()) {
    if (!e.reads_state()) results_[index_of(e)] = check_expectation(e, host_, frames_per_second());
  }
  return results_;
}

}  // namespace host
