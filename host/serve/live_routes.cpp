// The live panel's routes: each path, what it answers and what it queues.
#include <httplib.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "formats/sim_path.h"
#include "host/serve/http_reply.h"
#include "host/serve/live_json.h"
#include "host/serve/live_requests.h"
#include "host/serve/live_server.h"
#include "host/serve/page_assets.h"
#include "host/serve/page_text.h"

namespace host::serve {
namespace {

using nlohmann::json;

constexpr std::chrono::milliseconds kLongestPoll{300};
// Polls waiting at once: a few tabs' worth, well under the threads.
constexpr int kMostWaiting = 6;

// The file a module loaded as "Sound\NAME.wav", under the simulator folder.
std::optional<std::string> read_sound(const std::string& root, const std::string& path) {
  std::ifstream in(formats::sim_file_path(root, path), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

void LiveServer::routes() {
  page_routes();
  view_routes();
  input_routes();
  gate_ = std::make_unique<RequestGate>(routes_);
}

// The page and its files, embedded in the binary.
void LiveServer::page_routes() {
  for (const PageAsset& asset : page_assets()) {
    const std::string path = asset.path == std::string_view("/index.html") ? "/" : asset.path;
    get(path, [&asset](const httplib::Request&, httplib::Response& res) {
      res.set_content(reinterpret_cast<const char*>(asset.bytes), asset.size,
                      content_type(asset.path));
    });
  }
}

// What the page reads: the panel's layout and picture, the variables, the
// flights, the session's state, the saved flight and the loaded sounds.
void LiveServer::view_routes() {
  get("/api/panel", [this](const httplib::Request&, httplib::Response& res) {
    answer_json(res, layout_json(exchange_.view()));
  });
  get("/api/variables",
      [](const httplib::Request&, httplib::Response& res) { answer_json(res, variables_json()); });
  get("/api/scenarios", [this](const httplib::Request&, httplib::Response& res) {
    json names = json::array();
    for (const ScenarioFile& f : settings_.scenarios) names.push_back(f.shown);
    answer_json(res, names);
  });
  get("/api/state", [this](const httplib::Request& req, httplib::Response& res) {
    // A few polls wait for a change; the rest are answered at once.
    const bool waits = waiting_.fetch_add(1) < kMostWaiting;
    LiveExchange::Update u =
        exchange_.update(count_param(req, "version"), count_param(req, "after"),
                         waits ? kLongestPoll : std::chrono::milliseconds(0));
    waiting_.fetch_sub(1);
    json state = u.view.state;
    state["version"] = u.version;
    state["events"] = events_json(u.events);
    answer_json(res, state);
  });
  get("/api/panel.png", [this](const httplib::Request&, httplib::Response& res) {
    const LiveView view = exchange_.view();
    if (!view.png) return answer(res, 404, "no picture yet");
    res.set_header("Cache-Control", "no-store");
    res.set_content(reinterpret_cast<const char*>(view.png->data()), view.png->size(), "image/png");
  });
  get("/api/flight", [this](const httplib::Request&, httplib::Response& res) {
    const LiveView view = exchange_.view();
    const std::string name = "live_" + view.title.substr(0, view.title.find('.')) + ".flight";
    res.set_header("Content-Disposition", attachment_header(name));
    res.set_header("Cache-Control", "no-store");
    res.set_content(view.recording->text(view.frame, "flown live from " + shown_text(view.title)),
                    "text/plain; charset=utf-8");
  });
  get("/api/sound", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string path = param(req, "path");
    if (exchange_.view().sounds->count(path) == 0) {
      return answer(res, 404, "no sound '" + path.substr(0, 80) + "' was loaded");
    }
    std::optional<std::string> bytes = read_sound(settings_.sound_root, path);
    if (!bytes) return answer(res, 404, "cannot read " + path);
    res.set_content(*bytes, "audio/wav");
  });
}

// Inputs: checked here, applied by the host's thread between frames.
void LiveServer::input_routes() {
  auto queue = [this](httplib::Response& res, LiveInput input) {
    exchange_.push(std::move(input));
    answer(res, 200, "queued");
  };
  auto line = [queue](httplib::Response& res, Checked<FlightCommand> checked) {
    if (auto* refusal = std::get_if<Refusal>(&checked)) {
      return answer(res, refusal->status, refusal->message);
    }
    queue(res, LiveInput{LiveInput::kLine, std::get<FlightCommand>(checked), 0, ""});
  };
  post("/api/set", [line](const httplib::Params& form, httplib::Response& res) {
    line(res, set_request(param(form, "name"), param(form, "value")));
  });
  post("/api/press", [this, line](const httplib::Params& form, httplib::Response& res) {
    Checked<FlightCommand> c =
        press_request(*exchange_.view().layout, param(form, "x"), param(form, "y"));
    line(res, c);
    if (auto* command = std::get_if<FlightCommand>(&c))
      res.set_content(shown_text(command->args[0]), "text/plain");
  });
  post("/api/release", [this, line](const httplib::Params& form, httplib::Response& res) {
    line(res, release_request(*exchange_.view().layout, param(form, "gauge")));
  });
  post("/api/fly", [line](const httplib::Params& form, httplib::Response& res) {
    line(res, fly_request(param(form, "line")));
  });
  const struct {
    const char* path;
    LiveInput::Kind kind;
  } plain[] = {{"/api/pause", LiveInput::kPause},
               {"/api/resume", LiveInput::kResume},
               {"/api/step", LiveInput::kStep},
               {"/api/takeover", LiveInput::kTakeOver}};
  for (const auto& p : plain) {
    post(p.path, [queue, kind = p.kind](const httplib::Params&, httplib::Response& res) {
      queue(res, LiveInput{kind, {}, 0, ""});
    });
  }
  post("/api/speed", [queue](const httplib::Params& form, httplib::Response& res) {
    Checked<double> speed = speed_request(param(form, "value"));
    if (auto* refusal = std::get_if<Refusal>(&speed)) {
      return answer(res, refusal->status, refusal->message);
    }
    queue(res, LiveInput{LiveInput::kSpeed, {}, std::get<double>(speed), ""});
  });
  post("/api/scenario", [this, queue](const httplib::Params& form, httplib::Response& res) {
    Checked<std::string> path = flyable_scenario(settings_.scenarios, param(form, "name"));
    if (auto* refusal = std::get_if<Refusal>(&path)) {
      return answer(res, refusal->status, refusal->message);
    }
    queue(res, LiveInput{LiveInput::kScenario, {}, 0, std::get<std::string>(path)});
  });
}

}  // namespace host::serve
