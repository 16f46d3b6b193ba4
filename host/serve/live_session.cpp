#include "host/serve/live_session.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "host/flight_commands.h"
#include "host/host_error.h"
#include "host/report/flight_events.h"
#include "host/report/flight_view.h"
#include "host/sim_write.h"

namespace host::serve {
namespace {

namespace fs = std::filesystem;

bool is_panel_file(const std::string& path) {
  return fs::path(path).extension() == ".cfg";
}

std::string full_path(const fs::path& path) {
  return fs::absolute(path).lexically_normal().string();
}

// A panel file is flown as the flight that places its gauges and starts.
FlightScript script_for(const std::string& path) {
  if (is_panel_file(path)) {
    if (!fs::exists(path)) throw HostError("cannot read panel " + path);
    return FlightScript::parse("panel " + full_path(path) + "\nstart\n",
                               fs::path(path).filename().string());
  }
  return FlightScript::load(path);
}

bool moves_time(const FlightCommand& c) {
  return c.verb == "at" || c.verb == "wait" || c.verb == "frames";
}

std::string number_text(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

}  // namespace

LiveSession::LiveSession(HostOptions options, const std::string& path)
    : path_(path),
      script_(script_for(path)),
      host_([&] {
        options.capture_events = false;
        return options;
      }()),
      run_(script_, host_),
      recording_(script_.frames_per_second()) {
  host_.events().subscribe(this);
  host_.set_ticks_per_frame(script_.ticks_per_second() / script_.frames_per_second());
  play_due();
}

LiveSession::~LiveSession() {
  if (host_.started()) host_.stop();
  host_.events().unsubscribe(this);
}

FlightCommand LiveSession::recorded_form(const FlightCommand& command) const {
  if (command.verb != "panel" || is_panel_file(path_)) return command;
  // A saved flight is read from wherever it is kept: its panel by full path.
  FlightCommand c = command;
  c.args[0] = full_path(fs::path(path_).parent_path() / command.args[0]);
  return c;
}

void LiveSession::apply(const FlightCommand& command) {
  const FlightCommandRow& row = command_row(command);
  row.check(command);
  if (row.phase == CommandPhase::kExpect || moves_time(command)) {
    throw HostError("'" + command.verb + "' is not an input");
  }
  if (row.phase == CommandPhase::kSetup && started_) {
    throw HostError("'" + command.verb + "' belongs before 'start'");
  }
  if (ended()) throw HostError("the flight has ended");
  if (command.verb == "start") started_ = true;
  recording_.add(host_.frame(), recorded_form(command));
  ++recording_version_;
  if (row.run != nullptr) row.run(run_, command);
}

void LiveSession::play_due() {
  const std::vector<FlightCommand>& lines = script_.commands();
  while (playing_ && next_line_ < lines.size()) {
    const FlightCommand& c = lines[next_line_];
    if (moves_time(c)) {
      if (!wait_until_) {
        const uint32_t now = host_.frame();
        const double fps = frames_per_second();
        wait_until_ = c.verb == "at"     ? frames_in(seconds_arg(c, 0), fps)
                      : c.verb == "wait" ? now + frames_in(seconds_arg(c, 0), fps)
                                         : now + u32_arg(c, 0);
      }
      if (host_.frame() < *wait_until_) return;
      wait_until_.reset();
    } else {
      apply(c);
    }
    ++next_line_;
  }
  playing_ = false;
}

void LiveSession::step() {
  if (!host_.started()) return;
  run_.run_until(host_.frame() + 1);
  for (const auto& [label, index] : changed_elements_) {
    recording_.element(host_.frame(), label, index, !host_.element_hidden(label, index));
    ++recording_version_;
  }
  changed_elements_.clear();
  play_due();
}

void LiveSession::take_over() {
  if (!playing_) return;
  playing_ = false;
  wait_until_.reset();
  for (const SimName& var : run_.ramping()) {
    apply(FlightCommand{"live", "set", {var.name, number_text(variable_value(host_.sim(), var))}});
  }
  for (const std::string& label : run_.held_gauges()) {
    apply(FlightCommand{"live", "release", {label}});
  }
}

std::vector<PageEvent> LiveSession::take_events() {
  std::vector<PageEvent> out;
  out.swap(events_);
  return out;
}

void LiveSession::on_event(const Event& event) {
  if (event.kind == EventKind::kSoundLoad && event.result != 0 && event.text != nullptr) {
    sounds_.insert(event.text);
  }
  if (visibility_changed(event) && event.label != nullptr) {
    std::pair<std::string, uint32_t> element{event.label, event.element};
    if (std::find(changed_elements_.begin(), changed_elements_.end(), element) ==
        changed_elements_.end()) {
      changed_elements_.push_back(element);
    }
  }
  // Modules stop their sounds often, playing or not: the page hears of
  // the stops of what it plays.
  if (event.kind == EventKind::kSoundStop && voices_.erase(event.code) != 0) {
    events_.push_back({event.frame, "stop", "", "", event.code, false});
  }
  std::optional<report::FlightEvent> shown = report::flight_event(event);
  if (!shown) return;
  PageEvent page{event.frame, report::kind_name(shown->kind), shown->what, "", 0, false};
  page.entry = report::flight_time(event.frame, frames_per_second(), 8) + "  " + shown->live;
  if (voice_heard(event)) {
    page.sound = event.text;
    page.handle = event.code;
    page.loop = event.arg != 0;
    voices_.insert(event.code);
    recording_.heard(event.frame, event.text);
    ++recording_version_;
  }
  events_.push_back(std::move(page));
}

}  // namespace host::serve
