#include "host/serve/live_server.h"

#include <httplib.h>

#include <charconv>

#include "host/serve/guarded_server.h"
#include "host/serve/http_reply.h"
#include "host/serve/live_json.h"
#include "host/serve/live_requests.h"
#include "host/serve/page_assets.h"
#include "host/serve/page_text.h"

namespace host::serve {
namespace {

// Enough threads for a few tabs, each holding a poll and a picture or two.
constexpr size_t kThreads = 16;

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

}  // namespace host::serve
