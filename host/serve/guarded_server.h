#pragma once
// The HTTP server with bounded work per connection: each request must
// arrive whole (request line, header block, body) within a few seconds of
// its first byte, and no more than a header block's worth is read before
// the headers end, so a client sending slowly or without end is dropped
// without holding up the others.
#include <httplib.h>

#include <chrono>
#include <cstddef>

#include "host/serve/request_limits.h"

namespace host::serve {

struct ConnectionLimits {
  std::chrono::milliseconds request_time{kRequestSeconds * 1000};
  std::chrono::milliseconds idle_time{2000};  // between requests of one connection
  size_t header_bytes = 64 * 1024;            // read before the headers end, at most
  size_t header_block = kMaxHeaderBlock;      // more, and a failed request is told 431
};

class GuardedServer : public httplib::Server {
 public:
  explicit GuardedServer(ConnectionLimits limits) : limits_(limits) {}

  // Whether this thread's request failed with more header bytes than the
  // limit, cut off or with a line too long to read (the answer is then 431).
  static bool headers_cut_off();
  // Called once a request's headers are in: their byte limit is lifted.
  static void headers_read();

 private:
  bool process_and_close_socket(socket_t sock) override;

  ConnectionLimits limits_;
};

}  // namespace host::serve
