#pragma once
// The live panel's HTTP side: the page and its files, the session's state
// (long polling), the panel picture, the sounds the modules loaded, the
// saved flight, and the inputs, each checked and queued for the host's
// thread. Unknown paths, bad values and oversized bodies get a 4xx answer
// with a message; nothing here touches the host.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/serve/live_exchange.h"

namespace httplib {
class Server;
}

namespace host::serve {

struct ServerSettings {
  std::string listen = "127.0.0.1";
  int port = 8018;  // 0: any free port
  std::string sound_root;
  std::vector<std::string> scenarios;  // the flights the page may start
};

// Requests larger than this are refused (413): every input is a few words.
inline constexpr size_t kMaxBody = 4096;

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
  void routes();

  LiveExchange& exchange_;
  ServerSettings settings_;
  std::unique_ptr<httplib::Server> server_;
};

}  // namespace host::serve
