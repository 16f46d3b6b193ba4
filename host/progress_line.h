#pragma once
// A progress line for long work on a terminal: after about two seconds it
// shows how far the work is and an estimate of the time left, rewritten in
// place a few times a second, and is wiped when the work ends. Nothing is
// written when the output is not a terminal, so logs and pipes stay clean.
#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace host {

// Whether standard error is a terminal.
bool stderr_is_terminal();

class ProgressLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  // `describe(done, total)` says how far, e.g. "flown 1200 s of 3600 s".
  ProgressLine(std::ostream& out, bool terminal,
               std::function<std::string(double done, double total)> describe,
               Clock clock = std::chrono::steady_clock::now);
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  ~ProgressLine() { finish(); }

  void update(double done, double total);
  // Wipes the line, if one was shown.
  void finish();

 private:
  std::ostream& out_;
  bool terminal_;
  std::function<std::string(double, double)> describe_;
  Clock clock_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_shown_;
  bool shown_ = false;
};

// "12 s", "3 min 20 s", "1 h 05 min".
std::string duration_text(double seconds);

}  // namespace host
