#include "host/report/flight_events.h"

#include <string_view>

#include "host/event_text.h"

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

const char* kind_name(MarkKind kind) {
  switch (kind) {
    case MarkKind::kVoice:
      return "voice";
    case MarkKind::kSoundFailed:
      return "sound failed";
    case MarkKind::kKey:
      return "key";
    case MarkKind::kLamp:
      return "lamp";
    case MarkKind::kVar:
      return "var";
  }
  return "?";
}

std::optional<FlightEvent> flight_event(const Event& e) {
  FlightEvent out;
  out.frame = e.frame;
  if (voice_heard(e)) {
    out.kind = MarkKind::kVoice;
    out.what = voice_name(e.text);
  } else if (play_failed(e) || load_failed(e)) {
    out.kind = MarkKind::kSoundFailed;
    out.what = (e.text != nullptr ? voice_name(e.text) : std::string("?")) +
               (e.kind == EventKind::kSoundLoad ? ": load failed" : ": play failed");
  } else if (e.kind == EventKind::kKeyEvent) {
    out.kind = MarkKind::kKey;
    out.what = "key " + std::to_string(e.code);
  } else if (visibility_changed(e)) {
    out.kind = MarkKind::kLamp;
    out.label = e.label;
    out.element = e.element;
    out.what = out.label + "#" + std::to_string(e.element) +
               (element_now_shown(e) ? " shown" : " hidden");
  } else if (e.kind == EventKind::kNamedWrite) {
    out.kind = MarkKind::kVar;
    out.what = std::string(e.text) + " = " + std::to_string(e.x);
  } else {
    return std::nullopt;
  }
  return out;
}

std::vector<FlightEvent> flight_events(const std::vector<Event>& events) {
  std::vector<FlightEvent> out;
  for (const Event& e : events) {
    if (auto f = flight_event(e)) out.push_back(std::move(*f));
  }
  return out;
}

}  // namespace host::report
