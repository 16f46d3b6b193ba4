#include "host/report/flight_events.h"

#include <charconv>
#include <string_view>

namespace host::report {
namespace {

// "Sound\minimums.wav" -> "minimums".
std::string voice_name(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  if (path.ends_with(".wav")) path.remove_suffix(4);
  return std::string(path);
}

}  // namespace

const char* kind_name(EventKind kind) {
  switch (kind) {
    case EventKind::kVoice:
      return "voice";
    case EventKind::kKey:
      return "key";
    case EventKind::kLamp:
      return "lamp";
    case EventKind::kVar:
      return "var";
  }
  return "?";
}

std::optional<FlightEvent> read_event(const std::string& log_line) {
  const size_t space = log_line.find(' ');
  if (space == std::string::npos) return std::nullopt;
  FlightEvent e;
  auto [end, error] = std::from_chars(log_line.data(), log_line.data() + space, e.frame);
  if (error != std::errc() || end != log_line.data() + space) return std::nullopt;
  const std::string_view text = std::string_view(log_line).substr(space + 1);
  if (text.starts_with("sound play ")) {
    const size_t open = text.find('"');
    const size_t close = open == std::string_view::npos ? open : text.find('"', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    e.kind = EventKind::kVoice;
    e.what = voice_name(text.substr(open + 1, close - open - 1));
  } else if (text.starts_with("key_event ")) {
    e.kind = EventKind::kKey;
    e.what = "key " + std::string(text.substr(10, text.find(' ', 10) - 10));
  } else if (text.starts_with("element ") && text.find(" flags ") == std::string_view::npos) {
    e.kind = EventKind::kLamp;
    e.what = std::string(text.substr(8));
  } else if (text.starts_with("var ")) {
    e.kind = EventKind::kVar;
    std::string what(text.substr(4));
    std::erase(what, '"');
    e.what = what;
  } else {
    return std::nullopt;
  }
  return e;
}

std::vector<FlightEvent> flight_events(const std::vector<std::string>& log_lines) {
  std::vector<FlightEvent> out;
  for (const std::string& line : log_lines) {
    if (auto e = read_event(line)) out.push_back(std::move(*e));
  }
  return out;
}

}  // namespace host::report
