#include "host/serve/live_session.h"

#include <algorithm>
#include <filesystem>

#include "host/element_names.h"
#include "host/flight_commands.h"
#include "host/host_error.h"
#include "host/loaded_module.h"
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
    const std::string name = fs::path(path).filename().string();
    return FlightScript::parse(saved_text(make_line(name, "panel", {full_path(path)})) + "\n" +
                                   saved_text(make_line(name, "start", {})) + "\n",
                               name);
  }
  return FlightScript::load(path);
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

void LiveSession::apply(const FlightCommand& command) {
  const FlightCommandRow& row = command_row(command);
  if (row.phase == CommandPhase::kExpect || row.clock != ClockMove::kNone || row.places) {
    throw HostError("'" + command.verb + "' is not an input");
  }
  apply_line(read_line(command, script_.setup()));
}

void LiveSession::apply_line(const FlightLine& line) {
  if (line.row->phase == CommandPhase::kSetup && started_) {
    throw HostError("'" + line.words.verb + "' belongs before 'start'");
  }
  if (ended()) throw HostError("the flight has ended");
  if (line.row->starts) started_ = true;
  // Kept once it ran: a line refused in flight (a climb with no aircraft
  // flying) would stop the saved flight's replay there.
  if (line.row->run != nullptr) line.row->run(run_, line);
  recording_.add_line(host_.frame(), saved_text(line));
  ++recording_version_;
}

void LiveSession::play_due() {
  const std::vector<FlightLine>& lines = script_.lines();
  while (playing_ && next_line_ < lines.size()) {
    const FlightLine& line = lines[next_line_];
    if (line.row->clock != ClockMove::kNone) {
      if (!wait_until_) wait_until_ = clock_target(line, host_.frame(), frames_per_second());
      if (host_.frame() < *wait_until_) return;
      wait_until_.reset();
    } else {
      apply_line(line);
    }
    ++next_line_;
  }
  playing_ = false;
}

void LiveSession::step() {
  if (!host_.started()) return;
  run_.run_until(host_.frame() + 1);
  for (const auto& [label, index] : changed_elements_) {
    const LoadedModule* module = host_.gauge(label).module;
    const char* name =
        module != nullptr ? element_name(module->name(), gauge_of_label(label), index) : nullptr;
    recording_.element(host_.frame(), label, index, name != nullptr ? name : "",
                       !host_.element_hidden(label, index));
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
    apply_line(make_line("live", "set", {var.name, number_text(variable_value(host_.sim(), var))}));
  }
  for (const std::string& label : run_.held_gauges()) {
    apply_line(make_line("live", "release", {label}));
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
