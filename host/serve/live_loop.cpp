#include "host/serve/live_loop.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>

#include "host/host_error.h"
#include "host/report/flight_view.h"
#include "host/report/timeline_chart.h"
#include "host/serve/aircraft_json.h"
#include "host/serve/page_text.h"
#include "host/sim_names.h"
#include "host/sim_write.h"

namespace host::serve {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The series the page plots, each as the report's timeline has it (labels,
// units, colours, axes) with its value now, null where it has none.
nlohmann::json series_state(LiveSession& session) {
  PanelHost& host = session.host();
  const std::optional<std::string> radalt = report::radalt_label(session.script().layout());
  nlohmann::json out = nlohmann::json::array();
  for (const report::SeriesRow* row : report::plotted_series(radalt.has_value())) {
    const std::optional<double> value = report::series_value(host, radalt, row->series);
    nlohmann::json one = nlohmann::json::parse(report::series_json(*row));
    one["value"] = value ? nlohmann::json(*value) : nlohmann::json(nullptr);
    out.push_back(std::move(one));
  }
  return out;
}

}  // namespace

LiveLoop::LiveLoop(LiveExchange& exchange, LoopSettings settings)
    : exchange_(exchange), settings_(std::move(settings)) {
  start(settings_.path);
  publish();
}

LiveLoop::~LiveLoop() {
  side_view_.reset();
  view_.reset();
  session_.reset();
}

std::vector<ScenarioFile> LiveLoop::scenarios(const std::string& folder, std::ostream* warnings) {
  std::vector<std::string> files;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".flight") files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  std::vector<ScenarioFile> out;
  for (const std::string& file : files) {
    ScenarioFile f{shown_text(file), (fs::path(folder) / file).string()};
    if (std::ranges::any_of(out, [&](const ScenarioFile& o) { return o.shown == f.shown; })) {
      if (warnings != nullptr) {
        *warnings << "gaugehost: the page cannot tell flight '" << f.shown
                  << "' from another of that name: left out of its list\n";
      }
      continue;
    }
    out.push_back(std::move(f));
  }
  return out;
}

void LiveLoop::note(const std::string& what) {
  // Only ever after a session has started: the page always has one.
  const uint32_t frame = session_->host().frame();
  notes_.push_back(
      {frame, "note", what, "", 0, false,
       report::flight_time(frame, session_->frames_per_second(), 8) + "  note " + what});
}

void LiveLoop::start(const std::string& path) {
  side_view_.reset();
  view_.reset();
  session_.reset();  // one host at a time
  if (settings_.new_session) settings_.new_session();
  session_ = std::make_unique<LiveSession>(settings_.host, path);
  view_ = std::make_unique<PanelView>(session_->host(), session_->script().layout());
  side_view_ = std::make_unique<report::SideView>(session_->host(), session_->frames_per_second(),
                                                  report::kMostLiveTrailPoints);
  ++shown_.session;
  shown_.layout = std::make_shared<const PanelLayout>(view_->layout());
  shown_.title = fs::path(path).filename().string();
  recording_version_ = UINT64_MAX;
  paused_ = false;
}

void LiveLoop::handle(const LiveInput& input) {
  try {
    switch (input.kind) {
      case LiveInput::kLine:
        session_->apply(input.line);
        break;
      case LiveInput::kPause:
        paused_ = true;
        break;
      case LiveInput::kResume:
        paused_ = false;
        break;
      case LiveInput::kStep:
        paused_ = true;
        step_ = true;
        break;
      case LiveInput::kSpeed:
        speed_ = input.number;
        break;
      case LiveInput::kTakeOver:
        session_->take_over();
        break;
      case LiveInput::kScenario:
        try {
          start(input.path);
        } catch (const std::exception& error) {
          start(settings_.path);  // the page always has a panel to show
          const std::string why =
              "cannot fly " + fs::path(input.path).filename().string() + ": " + error.what();
          if (settings_.errors) *settings_.errors << "gaugehost: " << shown_text(why) << "\n";
          note(why);
        }
        break;
    }
  } catch (const HostError& error) {
    note(std::string("refused: ") + error.what());
  }
}

void LiveLoop::end_session(const std::string& why) {
  const std::string said = "the flight " + shown_text(shown_.title) + " ended: " + why;
  if (settings_.errors != nullptr) *settings_.errors << "gaugehost: " << shown_text(said) << "\n";
  start(settings_.path);
  note(said);
  publish();
}

void LiveLoop::frame() {
  session_->step();
  side_view_->after_frame(session_->host().frame());
}

void LiveLoop::publish() {
  PanelHost& host = session_->host();
  const double fps = session_->frames_per_second();
  if (std::optional<std::vector<uint8_t>> png = view_->picture_if_changed()) {
    shown_.png = std::make_shared<const std::vector<uint8_t>>(std::move(*png));
    ++shown_.picture;
  }
  if (session_->recording_version() != recording_version_) {
    recording_version_ = session_->recording_version();
    shown_.recording = std::make_shared<const FlightRecording>(session_->recording());
  }
  if (session_->sounds() != *shown_.sounds) {
    shown_.sounds = std::make_shared<const std::set<std::string>>(session_->sounds());
  }
  shown_.frame = host.frame();
  nlohmann::json vars = nlohmann::json::object();
  for (const SimName& name : sim_names()) {
    vars[name.name] = variable_value(host.sim(), name);
  }
  const nlohmann::json series = series_state(*session_);
  shown_.state = {
      {"session", shown_.session},
      {"title", shown_.title},
      {"frame", host.frame()},
      {"time_s", host.frame() / fps},
      {"fps", fps},
      {"paused", paused_},
      {"speed", speed_},
      {"playing", session_->playing()},
      {"ended", session_->ended()},
      {"picture", shown_.picture},
      {"vars", vars},
      {"series", series},
      {"aircraft", aircraft_json(host.aircraft() ? &host.aircraft()->state() : nullptr)},
  };
  // Each series' value under its own key too, for whoever reads one.
  for (const nlohmann::json& one : series)
    shown_.state[one["key"].get<std::string>()] = one["value"];
  if (!shown_.state.contains("decision_height_ft")) shown_.state["decision_height_ft"] = nullptr;
  // The side view's data, as the report has it (null until an aircraft flies).
  shown_.state["side_view"] = nlohmann::json::parse(side_view_->json());
  std::vector<PageEvent> events = session_->take_events();
  events.insert(events.end(), notes_.begin(), notes_.end());
  notes_.clear();
  // The session's log as far as it is flown, written out before readers hear
  // of the state: one told the flight ended finds its whole log.
  if (settings_.host.echo != nullptr) settings_.host.echo->flush();
  exchange_.publish(shown_, std::move(events));
}

void LiveLoop::run(const std::function<bool()>& keep_going) {
  Clock::time_point next = Clock::now();
  while (keep_going() && !exchange_.stopping()) {
    const Clock::time_point now = Clock::now();
    const auto wait = paused_ || session_->ended() ? Clock::duration(std::chrono::milliseconds(100))
                                                   : std::max(Clock::duration::zero(), next - now);
    std::vector<LiveInput> inputs = exchange_.take(wait);
    bool changed = !inputs.empty();
    const bool was_paused = paused_;
    // Whatever goes wrong in a session ends that session, not the server.
    try {
      for (const LiveInput& input : inputs) handle(input);
      if (was_paused && !paused_) next = Clock::now();
      if (step_) {
        step_ = false;
        frame();
        changed = true;
      } else if (!paused_ && !session_->ended() && Clock::now() >= next) {
        frame();
        changed = true;
        next += std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(1.0 / (session_->frames_per_second() * speed_)));
        // Behind by more than half a second (a slow machine, a debugger):
        // catch up no further, lest the flight rush.
        if (Clock::now() - next > std::chrono::milliseconds(500)) next = Clock::now();
      }
      if (changed) publish();
    } catch (const std::exception& error) {
      end_session(error.what());
      next = Clock::now();
    }
  }
}

}  // namespace host::serve
