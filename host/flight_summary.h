#pragma once
// The short story of a flight for people: each voice heard, each sound that
// failed, each key event, named variable write and lamp change with its
// time, from the host's events as host/event_marks.h words them.
#include <string>
#include <vector>

#include "host/event.h"

namespace host {

std::vector<std::string> summarize(const std::vector<Event>& events, double frames_per_second);

}  // namespace host
