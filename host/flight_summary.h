#pragma once
// The short story of a flight for people: each callout, key event, named
// variable write and lamp change with its time, from the event log.
#include <string>
#include <vector>

namespace host {

std::vector<std::string> summarize(const std::vector<std::string>& log, double frames_per_second);

}  // namespace host
