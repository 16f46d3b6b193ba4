#pragma once
// The live panel's HTTP side: the page and its files, the session's state
// (long polling), the panel picture, the sounds the modules loaded, the
// saved flight, and the inputs, each checked and queued for the host's
// thread. Unknown paths, bad values and oversized requests get a 4xx answer
// with a message; nothing here touches the host.
#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "host/serve/client_check.h"
#include "host/serve/live_exchange.h"
#include "host/serve/live_requests.h"
#include "host/serve/request_gate.h"

namespace host::serve {

class GuardedServer;

struct ServerSettings {
  std::string listen = "127.0.0.1";
  int port = 8018;  // 0: any free port
  std::string sound_root;
  std::vector<ScenarioFile> scenarios;  // the flights the page may start
  std::ostream* errors = nullptr;       // where a request that failed says why
  std::string token;                    // empty: none asked for (client_check.h)
};

class LiveServer {
 public:
  LiveServer(LiveExchange& exchange, ServerSettings settings);
  ~LiveServer();

  // Binds; returns the port, or -1 when it cannot.
  int bind();
  // Serves until stop(), on the calling thread.
  void listen();
  void stop();

 private:
  using FormHandler = std::function<void(const httplib::Params&, httplib::Response&)>;
  void routes();
  void page_routes();
  void view_routes();
  void input_routes();
  void get(const std::string& path, httplib::Server::Handler handler);
  void post(const std::string& path, FormHandler handler);

  LiveExchange& exchange_;
  ServerSettings settings_;
  std::unique_ptr<GuardedServer> server_;
  std::vector<Route> routes_;
  std::unique_ptr<RequestGate> gate_;
  ClientCheck clients_;
  std::mutex errors_mutex_;
  std::atomic<int> waiting_{0};  // long polls waiting for a change
};

}  // namespace host::serve
