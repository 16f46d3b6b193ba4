#pragma once
// The flight's timeline: height above ground (and the decision height, with
// a radar altimeter on the panel) and vertical speed against flight time,
// with a marker for every voice, key event and lamp change, lamps with their
// element's picture. Drawn in the browser by dygraphs: drag to zoom, the bar
// below to pan, hover for the values and events of a moment.
#include <string>
#include <vector>

#include "host/report/flight_events.h"
#include "host/report/flight_recorder.h"
#include "host/report/flight_view.h"

namespace host::report {

// More rows than this add bytes but nothing one sees: longer flights keep
// every n-th frame (an hour: every fourth, still a row per quarter second).
inline constexpr size_t kMostTimelineRows = 20000;

struct TimelineChart {
  std::string markup;  // where the plot goes (div#timeline) and its controls
  // The data (const timelineData) and the scripts that draw it; after the
  // page's picture table, which the markers' pictures come from.
  std::string script;
};

// A series as the page scripts draw it: {"key","label","unit","colour",
// "axis":"y" or "y2","dashed"}.
std::string series_json(const SeriesRow& row);

TimelineChart timeline_chart(const std::vector<FlightSample>& samples,
                             const std::vector<FlightEvent>& events, double frames_per_second,
                             bool with_decision_height);

// The data alone: {"fps":..,"labels":[..],"axes":{..},"series":[..],
// "rows":[[frame,height,(dh,)speed],..],"events":[[frame,"kind","what",
// picture or null],..]}: the series as series_json() gives each, in the
// rows' order; values as text with one decimal, a missing value as null.
std::string timeline_data(const std::vector<FlightSample>& samples,
                          const std::vector<FlightEvent>& events, double frames_per_second,
                          bool with_decision_height);

}  // namespace host::report
