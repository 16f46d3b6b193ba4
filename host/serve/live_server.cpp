#include "host/serve/live_server.h"

#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "formats/sim_path.h"
#include "host/serve/guarded_server.h"
#include "host/serve/live_json.h"
#include "host/serve/live_requests.h"
#include "host/serve/page_assets.h"
#include "host/serve/page_text.h"

namespace host::serve {
namespace {

using nlohmann::json;

// Enough threads for a few tabs, each holding a poll and a picture or two.
constexpr size_t kThreads = 16;
constexpr std::chrono::milliseconds kLongestPoll{300};
// Polls waiting at once: a few tabs' worth, well under the threads.
constexpr int kMostWaiting = 6;

void answer(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  res.set_content(shown_text(message) + "\n", "text/plain; charset=utf-8");
}

void answer_json(httplib::Response& res, const json& body) {
  res.set_header("Cache-Control", "no-store");
  res.set_content(page_json(body), "application/json");
}

std::string param(const httplib::Params& params, const char* name) {
  const auto found = params.find(name);
  return found == params.end() ? "" : found->second;
}

std::string param(const httplib::Request& req, const char* name) {
  return param(req.params, name);
}

uint64_t count_param(const httplib::Request& req, const char* name) {
  const std::string text = param(req, name);
  uint64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// A route's path as the library's pattern: exactly that path.
std::string exactly(const std::string& path) {
  std::string pattern;
  for (char c : path) {
    if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

// The form a POST sent, read under the body limit whatever its transfer
// encoding: nothing when it is larger.
std::optional<httplib::Params> read_form(const httplib::Request& req,
                                         const httplib::ContentReader& reader) {
  std::string body;
  bool over = false;
  reader([&](const char* data, size_t size) {
    if (body.size() + size > kMaxBody) {
      over = true;
      return false;
    }
    body.append(data, size);
    return true;
  });
  if (over) return std::nullopt;
  httplib::Params params = req.params;
  httplib::detail::parse_query_text(body, params);
  return params;
}

// The file a module loaded as "Sound\NAME.wav", under the simulator folder.
std::optional<std::string> read_sound(const std::string& root, const std::string& path) {
  std::ifstream in(formats::sim_file_path(root, path), std::ios::binary);
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
    case 414:
      return "URL too long";
    case 415:
      return "compressed request bodies are not taken";
    case 431:
      return "request header block too large";
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
      server_(std::make_unique<GuardedServer>(ConnectionLimits{})),
      clients_(settings_.listen, settings_.token) {
  server_->new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server_->set_payload_max_length(kMaxBody);
  server_->set_error_handler([](const httplib::Request& req, httplib::Response& res) {
    if (res.status == 400 && GuardedServer::headers_cut_off()) res.status = 431;
    if (!res.body.empty()) return;
    std::string message = status_message(res.status);
    if (res.status == 404) message += ": " + req.path.substr(0, 80);
    if (res.status == 413) message += " (at most " + std::to_string(kMaxBody) + " bytes)";
    if (res.status == 431) message += " (at most " + std::to_string(kMaxHeaderBlock) + " bytes)";
    answer(res, res.status, message);
  });
  // A handler that throws is a fault of the live panel: said in one line,
  // its cause on stderr, and the server goes on.
  server_->set_exception_handler(
      [this](const httplib::Request& req, httplib::Response& res, std::exception_ptr thrown) {
        std::string what = "unknown error";
        try {
          std::rethrow_exception(thrown);
        } catch (const std::exception& error) {
          what = error.what();
        } catch (...) {
        }
        if (settings_.errors != nullptr) {
          std::lock_guard lock(errors_mutex_);
          *settings_.errors << "gaugehost: " << shown_text(req.method + " " + req.path) << ": "
                            << shown_text(what) << "\n";
        }
        answer(res, 500, "the live panel failed on this request: " + what.substr(0, 200));
      });
  routes();
  server_->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    GuardedServer::headers_read();
    std::optional<Refusal> refusal = gate_->size_refusal(req);
    if (!refusal) refusal = clients_.refusal(req);
    if (!refusal) refusal = gate_->route_refusal(req);
    if (!refusal) {
      if (clients_.token_in_url(req)) res.set_header("Set-Cookie", clients_.cookie());
      return httplib::Server::HandlerResponse::Unhandled;
    }
    answer(res, refusal->status, refusal->message);
    // Its body, if any, is not read: the connection cannot carry another.
    if (req.get_header_value("Connection") != "close") res.set_header("Connection", "close");
    return httplib::Server::HandlerResponse::Handled;
  });
}

LiveServer::~LiveServer() = default;

int LiveServer::bind() {
  const int port = settings_.port == 0 ? server_->bind_to_any_port(settings_.listen)
                   : server_->bind_to_port(settings_.listen, settings_.port) ? settings_.port
                                                                             : -1;
  clients_.set_port(port);
  return port;
}

void LiveServer::listen() {
  server_->listen_after_bind();
}

void LiveServer::stop() {
  server_->stop();
}

void LiveServer::get(const std::string& path, httplib::Server::Handler handler) {
  routes_.push_back({"GET", path});
  server_->Get(exactly(path), std::move(handler));
}

void LiveServer::post(const std::string& path, FormHandler handler) {
  routes_.push_back({"POST", path});
  server_->Post(exactly(path), [handler = std::move(handler)](const httplib::Request& req,
                                                              httplib::Response& res,
                                                              const httplib::ContentReader& body) {
    std::optional<httplib::Params> form = read_form(req, body);
    if (!form) {
      res.set_header("Connection", "close");
      return answer(res, 413, "request too large (at most " + std::to_string(kMaxBody) + " bytes)");
    }
    handler(*form, res);
  });
}

void LiveServer::routes() {
  for (const PageAsset& asset : page_assets()) {
    const std::string path = asset.path == std::string_view("/index.html") ? "/" : asset.path;
    get(path, [&asset](const httplib::Request&, httplib::Response& res) {
      res.set_content(reinterpret_cast<const char*>(asset.bytes), asset.size,
                      content_type(asset.path));
    });
  }
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
  gate_ = std::make_unique<RequestGate>(routes_);
}

}  // namespace host::serve
