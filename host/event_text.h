#pragma once
// The one place events become text: the event log's lines. A native run
// and a run under Wine of the same flight must give the same lines, so
// nothing here depends on addresses or on the platform's number formatting.
#include <cstdint>
#include <string>

#include "host/event.h"

namespace host {

// The event as the log shows it after the frame stamp, appended to `out`:
// written from the kind's row in host/event.h.
void append_event_text(std::string& out, const Event& event);
std::string event_text(const Event& event);
// An element as the log names it, "radalt#4", whatever names readers give it.
void append_element_id(std::string& out, const char* label, uint32_t element);
// "install", "initialize", "update" or "kill"; null for other service codes.
const char* service_name(uint32_t service);

// The whole line: the frame as six digits at least, a space, the text.
void append_event_line(std::string& out, const Event& event);

// Shortest text that reads back as the same double, the same on every platform.
std::string format_double(double value);
std::string format_hex(uint32_t value);

// The same texts appended to a line under construction, without temporaries.
void append_double(std::string& out, double value);
void append_hex(std::string& out, uint32_t value);
void append_decimal(std::string& out, int64_t value);

}  // namespace host
