#include "host/serve/live_server.h"

#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/serve/live_requests.h"
#include "host/serve/page_assets.h"
#include "host/sim_names.h"

namespace host::serve {
namespace {

using nlohmann::json;

// Enough threads for a few tabs, each holding a poll and a picture or two.
constexpr size_t kThreads = 16;
constexpr std::chrono::milliseconds kLongestPoll{300};

void answer(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  res.set_content(message + "\n", "text/plain; charset=utf-8");
}

void answer_json(httplib::Response& res, const json& body) {
  res.set_header("Cache-Control", "no-store");
  res.set_content(body.dump(), "application/json");
}

std::string param(const httplib::Request& req, const char* name) {
  return req.has_param(name) ? req.get_param_value(name) : "";
}

uint64_t count_param(const httplib::Request& req, const char* name) {
  const std::string text = param(req, name);
  uint64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

json layout_json(const LiveView& view) {
  json gauges = json::array();
  for (const GaugeBox& g : view.layout->gauges) {
    json areas = json::array();
    for (const AreaBox& a : g.areas) {
      areas.push_back({{"x", a.x},
                       {"y", a.y},
                       {"width", a.width},
                       {"height", a.height},
                       {"cursor", a.cursor},
                       {"repeats", a.repeats}});
    }
    gauges.push_back({{"label", g.label},
                      {"x", g.x},
                      {"y", g.y},
                      {"width", g.width},
                      {"height", g.height},
                      {"areas", areas}});
  }
  return {{"session", view.session},
          {"title", view.title},
          {"width", view.layout->width},
          {"height", view.layout->height},
          {"gauges", gauges}};
}

json variables_json() {
  json out = json::array();
  for (const SimName& n : sim_names()) {
    out.push_back({{"name", n.name},
                   {"what", n.what},
                   {"low", n.low},
                   {"high", n.high},
                   {"switch", n.low == 0 && n.high == 1}});
  }
  return out;
}

json events_json(const std::vector<NumberedEvent>& events) {
  json out = json::array();
  for (const NumberedEvent& n : events) {
    const PageEvent& e = n.event;
    json one = {{"n", n.number}, {"frame", e.frame}, {"kind", e.kind}, {"what", e.what}};
    if (!e.sound.empty() || e.kind == "stop") {
      one["sound"] = e.sound;
      one["handle"] = e.handle;
      one["loop"] = e.loop;
    }
    out.push_back(std::move(one));
  }
  return out;
}

// The file a module loaded as "Sound\NAME.wav", under the simulator folder.
std::optional<std::string> read_sound(const std::string& root, const std::string& path) {
  std::string relative = path;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  std::ifstream in(std::filesystem::path(root) / relative, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const char* status_message(int status) {
  switch (status) {
    case 404:
      return "no such page or call";
    case 405:
      return "this call takes another method";
    case 413:
      return "request too large";
    default:
      return "bad request";
  }
}

}  // namespace

const char* content_type(std::string_view path) {
  if (path.ends_with(".js")) return "text/javascript; charset=utf-8";
  if (path.ends_with(".css")) return "text/css; charset=utf-8";
  return "text/html; charset=utf-8";
}

LiveServer::LiveServer(LiveExchange& exchange, ServerSettings settings)
    : exchange_(exchange),
      settings_(std::move(settings)),
      server_(std::make_unique<httplib::Server>()) {
  server_->new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server_->set_payload_max_length(kMaxBody);
  server_->set_keep_alive_timeout(2);
  server_->set_error_handler([](const httplib::Request& req, httplib::Response& res) {
    if (!res.body.empty()) return;
    std::string message = status_message(res.status);
    if (res.status == 404) message += ": " + req.path.substr(0, 80);
    if (res.status == 413) message += " (at most " + std::to_string(kMaxBody) + " bytes)";
    answer(res, res.status, message);
  });
  routes();
}

LiveServer::~LiveServer() = default;

int LiveServer::bind() {
  if (settings_.port == 0) return server_->bind_to_any_port(settings_.listen);
  return server_->bind_to_port(settings_.listen, settings_.port) ? settings_.port : -1;
}

void LiveServer::listen() {
  server_->listen_after_bind();
}

void LiveServer::stop() {
  server_->stop();
}

void LiveServer::routes() {
  for (const PageAsset& asset : page_assets()) {
    const std::string path = asset.path == std::string_view("/index.html") ? "/" : asset.path;
    server_->Get(path, [&asset](const httplib::Request&, httplib::Response& res) {
      res.set_content(reinterpret_cast<const char*>(asset.bytes), asset.size,
                      content_type(asset.path));
    });
  }
  server_->Get("/api/panel", [this](const httplib::Request&, httplib::Response& res) {
    answer_json(res, layout_json(exchange_.view()));
  });
  server_->Get("/api/variables", [](const httplib::Request&, httplib::Response& res) {
    answer_json(res, variables_json());
  });
  server_->Get("/api/scenarios", [this](const httplib::Request&, httplib::Response& res) {
    answer_json(res, settings_.scenarios);
  });
  server_->Get("/api/state", [this](const httplib::Request& req, httplib::Response& res) {
    LiveExchange::Update u =
        exchange_.update(count_param(req, "version"), count_param(req, "after"), kLongestPoll);
    json state = u.view.state;
    state["version"] = u.version;
    state["events"] = events_json(u.events);
    answer_json(res, state);
  });
  server_->Get("/api/panel.png", [this](const httplib::Request&, httplib::Response& res) {
    const LiveView view = exchange_.view();
    if (!view.png) return answer(res, 404, "no picture yet");
    res.set_header("Cache-Control", "no-store");
    res.set_content(reinterpret_cast<const char*>(view.png->data()), view.png->size(), "image/png");
  });
  server_->Get("/api/flight", [this](const httplib::Request&, httplib::Response& res) {
    const LiveView view = exchange_.view();
    const std::string name = "live_" + view.title.substr(0, view.title.find('.')) + ".flight";
    res.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
    res.set_header("Cache-Control", "no-store");
    res.set_content(view.recording->text(view.frame, "flown live from " + view.title),
                    "text/plain; charset=utf-8");
  });
  server_->Get("/api/sound", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string path = param(req, "path");
    if (exchange_.view().sounds->count(path) == 0) {
      return answer(res, 404, "no sound '" + path.substr(0, 80) + "' was loaded");
    }
    std::optional<std::string> bytes = read_sound(settings_.sound_root, path);
    if (!bytes) return answer(res, 404, "cannot read " + path);
    res.set_content(*bytes, "audio/wav");
  });

  // Inputs: checked here, applied by the host's thread between frames.
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
  server_->Post("/api/set", [line](const httplib::Request& req, httplib::Response& res) {
    line(res, set_request(param(req, "name"), param(req, "value")));
  });
  server_->Post("/api/press", [this, line](const httplib::Request& req, httplib::Response& res) {
    Checked<FlightCommand> c =
        press_request(*exchange_.view().layout, param(req, "x"), param(req, "y"));
    line(res, c);
    if (auto* command = std::get_if<FlightCommand>(&c))
      res.set_content(command->args[0], "text/plain");
  });
  server_->Post("/api/release", [this, line](const httplib::Request& req, httplib::Response& res) {
    line(res, release_request(*exchange_.view().layout, param(req, "gauge")));
  });
  const struct {
    const char* path;
    LiveInput::Kind kind;
  } plain[] = {{"/api/pause", LiveInput::kPause},
               {"/api/resume", LiveInput::kResume},
               {"/api/step", LiveInput::kStep},
               {"/api/takeover", LiveInput::kTakeOver}};
  for (const auto& p : plain) {
    server_->Post(p.path, [queue, kind = p.kind](const httplib::Request&, httplib::Response& res) {
      queue(res, LiveInput{kind, {}, 0, ""});
    });
  }
  server_->Post("/api/speed", [queue](const httplib::Request& req, httplib::Response& res) {
    Checked<double> speed = speed_request(param(req, "value"));
    if (auto* refusal = std::get_if<Refusal>(&speed)) {
      return answer(res, refusal->status, refusal->message);
    }
    queue(res, LiveInput{LiveInput::kSpeed, {}, std::get<double>(speed), ""});
  });
  server_->Post(
      "/api/scenario", [this, queue](const httplib::Request& req, httplib::Response& res) {
        Checked<std::string> name = scenario_request(settings_.scenarios, param(req, "name"));
        if (auto* refusal = std::get_if<Refusal>(&name)) {
          return answer(res, refusal->status, refusal->message);
        }
        queue(res, LiveInput{LiveInput::kScenario, {}, 0, std::get<std::string>(name)});
      });
}

}  // namespace host::serve
