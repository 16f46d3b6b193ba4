#pragma once
// The flight's timeline as an inline SVG plot: height above ground (and the
// decision height, with a radar altimeter on the panel) above, vertical
// speed below, both against flight time, with a labelled marker line for
// every voice, key event and lamp change.
#include <string>
#include <vector>

#include "host/report/flight_events.h"
#include "host/report/flight_recorder.h"

namespace host::report {

// The svg element has id "timeline"; each series is a path of class
// "series height", "series vertical-speed" or "series decision-height", each
// marker a g of class "marker voice", "marker key" or "marker lamp".
std::string timeline_svg(const std::vector<FlightSample>& samples,
                         const std::vector<FlightEvent>& events, double frames_per_second,
                         bool with_decision_height);

}  // namespace host::report
