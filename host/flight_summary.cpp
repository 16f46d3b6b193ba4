#include "host/flight_summary.h"

#include <cstdio>

namespace host {
namespace {

// What the summary says of an event, or "" for events it leaves out.
std::string summary_text(const Event& e) {
  if (voice_heard(e)) return std::string("voice  ") + e.text;
  const char* path = e.text != nullptr ? e.text : "?";
  if (play_failed(e)) return std::string("sound  ") + path + ": play failed";
  if (load_failed(e)) return std::string("sound  ") + path + ": load failed";
  if (e.kind == EventKind::kKeyEvent) return "key    " + std::to_string(e.code);
  if (e.kind == EventKind::kNamedWrite) {
    return std::string("var    \"") + e.text + "\" = " + std::to_string(e.x);
  }
  if (visibility_changed(e)) {
    return std::string("lamp   ") + e.label + "#" + std::to_string(e.element) +
           (element_now_shown(e) ? " shown" : " hidden");
  }
  return "";
}

}  // namespace

std::vector<std::string> summarize(const std::vector<Event>& events, double frames_per_second) {
  std::vector<std::string> out;
  for (const Event& e : events) {
    std::string what = summary_text(e);
    if (what.empty()) continue;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8.2f s  ", e.frame / frames_per_second);
    out.push_back(stamp + what);
  }
  return out;
}

}  // namespace host
