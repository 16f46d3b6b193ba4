#include "host/report/timeline_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/report/html_text.h"
#include "host/report/report_scripts.h"

namespace host::report {
namespace {

// "-900", "984.3"; null for a value that is not a number.
std::string number(double v) {
  if (!std::isfinite(v)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  std::string s = text;
  if (s.ends_with(".0")) s.resize(s.size() - 2);
  return s == "-0" ? "0" : s;
}

constexpr const char* kMarkup = R"(<div id="timeline-tools">
<button type="button" id="zoom-in" title="zoom in on the middle">+</button>
<button type="button" id="zoom-out" title="zoom out">&minus;</button>
<button type="button" id="pan-left" title="earlier">&larr;</button>
<button type="button" id="pan-right" title="later">&rarr;</button>
<button type="button" id="zoom-all">whole flight</button>
<span class="facts">Drag across the plot to zoom, drag the bar below it to pan (or shift-drag),
double-click for the whole flight; hover for the values and events of a moment.</span>
</div>
<div id="timeline"></div>
<div id="timeline-readout" class="facts">&nbsp;</div>
)";

}  // namespace

std::string timeline_data(const std::vector<FlightSample>& samples,
                          const std::vector<FlightEvent>& events, double fps,
                          bool with_decision_height) {
  std::string out = "{\"fps\":" + number(fps) + ",\"labels\":[\"flight time, s\",";
  out += "\"height above ground, ft\",";
  if (with_decision_height) out += "\"decision height, ft\",";
  out += "\"vertical speed, ft/min\"],\n\"rows\":[";
  const size_t stride =
      std::max<size_t>(1, (samples.size() + kMostTimelineRows - 1) / kMostTimelineRows);
  out.reserve(out.size() + samples.size() / stride * 32);
  bool first = true;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (i % stride != 0 && i + 1 != samples.size()) continue;
    const FlightSample& s = samples[i];
    out += first ? "\n[" : ",\n[";
    first = false;
    out += std::to_string(s.frame) + "," + number(s.height_ft) + ",";
    if (with_decision_height) {
      out += (s.decision_height_ft ? number(*s.decision_height_ft) : "null") + ",";
    }
    out += number(s.vertical_speed_fpm) + "]";
  }
  out += "],\n\"events\":[";
  first = true;
  for (const FlightEvent& e : events) {
    out += first ? "\n[" : ",\n[";
    first = false;
    out += std::to_string(e.frame) + "," + js_string(kind_name(e.kind)) + "," + js_string(e.what) +
           "," + (e.picture ? std::to_string(*e.picture) : "null") + "]";
  }
  return out + "]}";
}

TimelineChart timeline_chart(const std::vector<FlightSample>& samples,
                             const std::vector<FlightEvent>& events, double fps,
                             bool with_decision_height) {
  TimelineChart chart;
  chart.markup = kMarkup;
  chart.script = std::string("<style>") + kDygraphCss + "</style>\n<script>" + kDygraphJs +
                 "</script>\n<script>\nconst timelineData = " +
                 timeline_data(samples, events, fps, with_decision_height) +
                 ";\n</script>\n<script>" + kTimelineJs + "</script>\n";
  return chart;
}

}  // namespace host::report
