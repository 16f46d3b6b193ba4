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

// A frame's value of a series; nothing where it had none.
std::optional<double> sample_value(const FlightSample& s, Series series) {
  switch (series) {
    case Series::kHeight:
      return s.height_ft;
    case Series::kDecisionHeight:
      return s.decision_height_ft;
    case Series::kVerticalSpeed:
      return s.vertical_speed_fpm;
  }
  return std::nullopt;
}

}  // namespace

std::string series_json(const SeriesRow& row) {
  return "{\"key\":" + js_string(row.key) + ",\"label\":" + js_string(series_label(row)) +
         ",\"unit\":" + js_string(row.unit) + ",\"colour\":" + js_string(row.colour) +
         ",\"axis\":\"" + (row.right_axis ? "y2" : "y") +
         "\",\"dashed\":" + (row.dashed ? "true" : "false") + "}";
}

std::string timeline_data(const std::vector<FlightSample>& samples,
                          const std::vector<FlightEvent>& events, double fps,
                          bool with_decision_height) {
  const std::vector<const SeriesRow*> series = plotted_series(with_decision_height);
  std::string out = "{\"fps\":" + number(fps) + ",\"labels\":[" + js_string(kTimeAxis);
  for (const SeriesRow* row : series) out += "," + js_string(series_label(*row));
  out += "],\"axes\":{\"x\":" + js_string(kTimeAxis) + ",\"y\":" + js_string(kLeftAxis) +
         ",\"y2\":" + js_string(right_axis_label()) + "},\"series\":[";
  for (size_t i = 0; i < series.size(); ++i) {
    out += (i == 0 ? "" : ",") + series_json(*series[i]);
  }
  out += "],\"on_panel\":[";
  bool listed = false;
  for (const MarkKindRow& mark : kMarkKinds) {
    if (!mark.on_panel) continue;
    out += (listed ? "," : "") + js_string(mark.name);
    listed = true;
  }
  out += "],\n\"rows\":[";
  const size_t stride =
      std::max<size_t>(1, (samples.size() + kMostTimelineRows - 1) / kMostTimelineRows);
  out.reserve(out.size() + samples.size() / stride * 32);
  bool first = true;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (i % stride != 0 && i + 1 != samples.size()) continue;
    const FlightSample& s = samples[i];
    out += first ? "\n[" : ",\n[";
    first = false;
    out += std::to_string(s.frame);
    for (const SeriesRow* row : series) {
      const std::optional<double> v = sample_value(s, row->series);
      out += "," + (v ? number(*v) : std::string("null"));
    }
    out += "]";
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
