#include "host/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "frame/convert.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace host {
namespace {

constexpr std::chrono::milliseconds kQuietFor{2000};
constexpr std::chrono::milliseconds kEvery{250};

}  // namespace

bool stderr_is_terminal() {
#if defined(_WIN32)
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

ProgressLine::ProgressLine(std::ostream& out, bool terminal,
                           std::function<std::string(double, double)> describe, Clock clock)
    : out_(out),
      terminal_(terminal),
      describe_(std::move(describe)),
      clock_(std::move(clock)),
      start_(clock_()) {}

void ProgressLine::update(double done, double total) {
  if (!terminal_) return;
  const auto now = clock_();
  if (now - start_ < kQuietFor || (shown_ && now - last_shown_ < kEvery)) return;
  last_shown_ = now;
  shown_ = true;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  std::string line = "gaugehost: " + describe_(done, total);
  if (done > 0.0 && total > done) {
    line += ", about " + duration_text(elapsed * (total - done) / done) + " left";
  }
  // Back to the line's start, the new text, the rest of the old one wiped.
  out_ << "\r" << line << "\033[K" << std::flush;
}

void ProgressLine::finish() {
  if (!shown_) return;
  out_ << "\r\033[K" << std::flush;
  shown_ = false;
}

std::string duration_text(double seconds) {
  const int64_t s = frame::trunc_saturate<int64_t>(std::ceil(std::max(seconds, 0.0)));
  char text[48];
  if (s < 60) {
    std::snprintf(text, sizeof text, "%lld s", static_cast<long long>(s));
  } else if (s < 3600) {
    std::snprintf(text, sizeof text, "%lld min %02lld s", static_cast<long long>(s / 60),
                  static_cast<long long>(s % 60));
  } else {
    std::snprintf(text, sizeof text, "%lld h %02lld min", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60));
  }
  return text;
}

}  // namespace host
