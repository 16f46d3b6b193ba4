#include "host/serve/guarded_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>

namespace host::serve {
namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kDrainedAtMost = 2 * 1024 * 1024;

// Waits for `events` on the socket until `deadline`; false when it passed.
bool wait_for(int sock, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{sock, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::min<int64_t>(left.count(), 1000)));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

std::string address_text(const sockaddr_storage& address) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, text, sizeof text);
  } else if (address.ss_family == AF_INET6) {
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, text,
              sizeof text);
  }
  return text;
}

int address_port(const sockaddr_storage& address) {
  if (address.ss_family == AF_INET) {
    return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
  }
  if (address.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
  }
  return -1;
}

// One connection's socket as the library reads and writes it: every read
// of a request before its deadline, and its header bytes counted.
class DeadlineStream final : public httplib::Stream {
 public:
  DeadlineStream(int sock, const ConnectionLimits& limits) : sock_(sock), limits_(limits) {}

  // Waits for the next request's first byte; false when none comes.
  bool next_request() {
    if (buffered() == 0 && !wait_for(sock_, POLLIN, Clock::now() + limits_.idle_time)) return false;
    deadline_ = Clock::now() + limits_.request_time;
    header_bytes_ = 0;
    in_headers_ = true;
    cut_off_ = false;
    return true;
  }
  void headers_read() { in_headers_ = false; }
  bool cut_off() const { return cut_off_ || (in_headers_ && header_bytes_ > limits_.header_block); }
  bool in_headers() const { return in_headers_; }

  bool is_readable() const override { return buffered() > 0 || wait_for(sock_, POLLIN, deadline_); }
  bool is_writable() const override {
    return wait_for(sock_, POLLOUT, Clock::now() + limits_.request_time);
  }
  ssize_t read(char* ptr, size_t size) override {
    if (in_headers_ && header_bytes_ >= limits_.header_bytes) {
      cut_off_ = true;
      return -1;
    }
    if (buffered() == 0) {
      if (!is_readable()) return -1;
      const ssize_t n = ::recv(sock_, buffer_.data(), buffer_.size(), 0);
      if (n <= 0) return n;
      begin_ = 0;
      end_ = static_cast<size_t>(n);
    }
    const size_t n = std::min(size, buffered());
    std::memcpy(ptr, buffer_.data() + begin_, n);
    begin_ += n;
    if (in_headers_) header_bytes_ += n;
    return static_cast<ssize_t>(n);
  }
  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable()) return -1;
    return ::send(sock_, ptr, size, MSG_NOSIGNAL);
  }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      ip = address_text(address);
      port = address_port(address);
    }
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      ip = address_text(address);
      port = address_port(address);
    }
  }
  socket_t socket() const override { return sock_; }

 private:
  size_t buffered() const { return end_ - begin_; }

  int sock_;
  const ConnectionLimits& limits_;
  Clock::time_point deadline_ = Clock::now();
  std::array<char, 4096> buffer_{};
  size_t begin_ = 0, end_ = 0;
  size_t header_bytes_ = 0;
  bool in_headers_ = true;
  bool cut_off_ = false;
};

thread_local DeadlineStream* current = nullptr;

}  // namespace

bool GuardedServer::headers_cut_off() {
  return current != nullptr && current->cut_off();
}

void GuardedServer::headers_read() {
  if (current != nullptr) current->headers_read();
}

bool GuardedServer::process_and_close_socket(socket_t sock) {
  DeadlineStream stream(sock, limits_);
  current = &stream;
  bool ok = true;
  for (size_t left = keep_alive_max_count_; left > 0 && is_running() && ok; --left) {
    if (!stream.next_request()) break;
    bool closed = false;
    ok = process_request(stream, left == 1, closed, [](httplib::Request&) {}) && !closed;
    // Refused before its headers were read: where it ends is not known.
    if (stream.in_headers()) break;
  }
  current = nullptr;
  // What the client still sends after a refusal is read and dropped for a
  // moment (a little of it), so that closing does not reset the answer away.
  ::shutdown(sock, SHUT_WR);
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(500);
  std::array<char, 4096> scrap{};
  for (size_t drained = 0; drained < kDrainedAtMost && wait_for(sock, POLLIN, end);) {
    const ssize_t n = ::recv(sock, scrap.data(), scrap.size(), 0);
    if (n <= 0) break;
    drained += static_cast<size_t>(n);
  }
  ::close(sock);
  return ok;
}

}  // namespace host::serve
