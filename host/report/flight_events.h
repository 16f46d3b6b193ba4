#pragma once
// The events a report marks (host/event_marks.h): voices heard, sounds that
// failed, key events sent, lamps (elements) shown or hidden and
// named-variable writes, kept with what the report draws of them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/event_marks.h"

namespace host::report {

using MarkKind = host::MarkKind;

struct FlightEvent {
  uint32_t frame = 0;
  MarkKind kind = MarkKind::kVoice;
  // As the report and the live page list it, e.g. "minimums",
  // "minimums: play failed", "key 65814", "radalt#6 shown", "radalt_gpws = 1".
  std::string what;
  // As the live page lists it: "voice minimums", "key 65814".
  std::string live;
  // For lamps: the gauge's label and the element's index, to name and
  // picture it, and whether it came on.
  std::string label;
  uint32_t element = 0;
  std::string element_name;  // as readers name it (element_text)
  bool shown = false;
  // For lamps, once a report has pictured it: the element's own bitmap, by
  // its index among the page's pictures.
  std::optional<size_t> picture;
};

// "voice", "sound failed", "key", "lamp" or "var": the mark's own name.
inline const char* kind_name(MarkKind kind) {
  return mark_name(kind);
}

// Nothing for events of other kinds.
std::optional<FlightEvent> flight_event(const Event& event);
std::vector<FlightEvent> flight_events(const std::vector<Event>& events);

}  // namespace host::report
