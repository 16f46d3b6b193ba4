#pragma once
// The events a report marks: voices heard, sounds that failed, key events
// sent, lamps (elements) shown or hidden and named-variable writes, taken
// from the host's typed events with the meanings host/event.h defines.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/event.h"

namespace host::report {

enum class MarkKind { kVoice, kSoundFailed, kKey, kLamp, kVar };

struct FlightEvent {
  uint32_t frame = 0;
  MarkKind kind = MarkKind::kVoice;
  // "minimums", "minimums: play failed", "key 65814", "radalt#6 shown", "radalt_gpws = 1"
  std::string what;
  // For lamps: the gauge's label and the element's index, to picture it.
  std::string label;
  uint32_t element = 0;
  // For lamps, once a report has pictured it: the element's own bitmap, by
  // its index among the page's pictures.
  std::optional<size_t> picture;
};

// "voice", "sound failed", "key", "lamp" or "var".
const char* kind_name(MarkKind kind);

// Nothing for events of other kinds.
std::optional<FlightEvent> flight_event(const Event& event);
std::vector<FlightEvent> flight_events(const std::vector<Event>& events);

}  // namespace host::report
