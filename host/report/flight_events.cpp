#include "host/report/flight_events.h"

namespace host::report {

std::optional<FlightEvent> flight_event(const Event& e) {
  const std::optional<Mark> mark = mark_of(e);
  if (!mark) return std::nullopt;
  FlightEvent out;
  out.frame = e.frame;
  out.kind = mark->kind();
  out.what = mark->listed_text();
  out.live = mark->live_text();
  if (out.kind == MarkKind::kLamp) {
    out.label = e.label != nullptr ? e.label : "?";
    out.element = e.element;
    out.element_name = element_text(e);
    out.shown = mark->shown();
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
