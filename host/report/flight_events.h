#pragma once
// The events a report marks, read from the event log: voices played, key
// events sent, lamps (elements) shown or hidden and named-variable writes,
// the same lines the flight summary lists.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host::report {

enum class EventKind { kVoice, kKey, kLamp, kVar };

struct FlightEvent {
  uint32_t frame = 0;
  EventKind kind = EventKind::kVoice;
  std::string what;  // "minimums", "key 65814", "radalt#6 shown", "radalt_gpws = 1"
};

// "voice", "key", "lamp" or "var".
const char* kind_name(EventKind kind);

// Nothing for lines of other kinds.
std::optional<FlightEvent> read_event(const std::string& log_line);
std::vector<FlightEvent> flight_events(const std::vector<std::string>& log_lines);

}  // namespace host::report
