#include "host/report/timeline_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "host/report/html_text.h"
#include "host/report/plot_scale.h"

namespace host::report {
namespace {

constexpr double kWidth = 1100;
constexpr double kLeft = 84;
constexpr double kRight = kWidth - 24;
constexpr int kLanes = 8;
constexpr double kLaneHeight = 13;
constexpr double kLanesTop = 10;
constexpr double kUpperTop = kLanesTop + kLanes * kLaneHeight + 10;
constexpr double kUpperHeight = 230;
constexpr double kLowerTop = kUpperTop + kUpperHeight + 30;
constexpr double kLowerHeight = 150;
constexpr double kAxisBottom = kLowerTop + kLowerHeight;
constexpr double kHeight = kAxisBottom + 78;
constexpr double kCharWidth = 6.7;  // 11 px monospace
constexpr size_t kLongestLabel = 44;
// More points than pixels across add nothing but bytes.
constexpr size_t kMostPoints = 2000;

constexpr const char* kHeightColour = "#2f9e44";
constexpr const char* kDecisionColour = "#e8590c";
constexpr const char* kSpeedColour = "#1971c2";

std::string num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

// Tick values as people write them: "500", "-1000", "2.5".
std::string tick_text(double v) {
  char text[32];
  if (v == std::floor(v)) {
    std::snprintf(text, sizeof text, "%.0f", v);
  } else {
    std::snprintf(text, sizeof text, "%g", v);
  }
  return text;
}

const char* marker_colour(MarkKind kind) {
  switch (kind) {
    case MarkKind::kVoice:
      return "#c92a2a";
    case MarkKind::kKey:
      return "#6741d9";
    case MarkKind::kSoundFailed:
      return "#e67700";
    default:
      return "#868e96";
  }
}

// One path through the finite values; a gap where a value is missing.
template <typename Value>
std::string series_path(const std::vector<FlightSample>& samples, const PlotScale& x,
                        const PlotScale& y, double fps, Value value) {
  std::string d;
  bool pen_down = false;
  const size_t stride = std::max<size_t>(1, (samples.size() + kMostPoints - 1) / kMostPoints);
  for (size_t i = 0; i < samples.size(); ++i) {
    if (i % stride != 0 && i + 1 != samples.size()) continue;
    const std::optional<double> v = value(samples[i]);
    if (!v || !std::isfinite(*v)) {
      pen_down = false;
      continue;
    }
    d += (pen_down ? " L" : " M") + num(x(samples[i].frame / fps)) + " " + num(y(*v));
    pen_down = true;
  }
  return d.empty() ? "M0 0" : d.substr(1);
}

void axis(std::string& svg, const PlotScale& y, double top, double height,
          const std::string& title) {
  svg += "<rect class=\"panel\" x=\"" + num(kLeft) + "\" y=\"" + num(top) + "\" width=\"" +
         num(kRight - kLeft) + "\" height=\"" + num(height) + "\"/>\n";
  for (double v : nice_ticks(y.range)) {
    const std::string at = num(y(v));
    svg += "<line class=\"grid\" x1=\"" + num(kLeft) + "\" x2=\"" + num(kRight) + "\" y1=\"" + at +
           "\" y2=\"" + at + "\"/><text class=\"tick\" x=\"" + num(kLeft - 6) + "\" y=\"" + at +
           "\" text-anchor=\"end\" dominant-baseline=\"middle\">" + tick_text(v) + "</text>\n";
  }
  const std::string mid = num(top + height / 2);
  svg += "<text class=\"axis-title\" transform=\"translate(16 " + mid +
         ") rotate(-90)\" text-anchor=\"middle\">" + escape_html(title) + "</text>\n";
}

struct MarkerGroup {
  uint32_t frame;
  MarkKind kind;
  std::vector<std::string> what;
};

std::string label_of(const MarkerGroup& g) {
  std::string text;
  for (const std::string& w : g.what) text += (text.empty() ? "" : ", ") + w;
  if (text.size() > kLongestLabel) text = text.substr(0, kLongestLabel - 3) + "...";
  return text;
}

void markers(std::string& svg, const std::vector<FlightEvent>& events, const PlotScale& x,
             double fps) {
  std::map<std::pair<uint32_t, int>, MarkerGroup> groups;  // by frame, then kind
  for (const FlightEvent& e : events) {
    if (e.kind == MarkKind::kVar) continue;
    auto& g = groups[{e.frame, static_cast<int>(e.kind)}];
    g.frame = e.frame;
    g.kind = e.kind;
    g.what.push_back(e.what);
  }
  // Each label goes in the highest lane where it overlaps no other label.
  double lane_end[kLanes];
  std::fill(std::begin(lane_end), std::end(lane_end), -1e9);
  for (const auto& [key, g] : groups) {
    const double at = x(g.frame / fps);
    const std::string label = label_of(g);
    const double width = static_cast<double>(label.size()) * kCharWidth;
    const bool leftwards = at + 3 + width > kWidth;
    const double from = leftwards ? at - 3 - width : at;
    int lane = 0;
    for (int l = 0; l < kLanes; ++l) {
      if (lane_end[l] + 4 < from) {
        lane = l;
        break;
      }
      if (lane_end[l] < lane_end[lane]) lane = l;
    }
    lane_end[lane] = std::max(lane_end[lane], leftwards ? at : at + 3 + width);
    const double text_y = kLanesTop + (lane + 1) * kLaneHeight - 3;
    std::string all;
    for (const std::string& w : g.what) all += (all.empty() ? "" : ", ") + w;
    svg += "<g class=\"marker " + std::string(kind_name(g.kind)) + "\" data-time=\"" +
           num(g.frame / fps) + "\"><title>" + num(g.frame / fps) + " s " + kind_name(g.kind) +
           ": " + escape_html(all) + "</title><line x1=\"" + num(at) + "\" x2=\"" + num(at) +
           "\" y1=\"" + num(text_y + 2) + "\" y2=\"" + num(kAxisBottom) + "\" stroke=\"" +
           marker_colour(g.kind) + "\"/><text x=\"" + num(leftwards ? at - 3 : at + 3) + "\" y=\"" +
           num(text_y) + "\" fill=\"" + marker_colour(g.kind) + "\"" +
           (leftwards ? " text-anchor=\"end\"" : "") + ">" + escape_html(label) + "</text></g>\n";
  }
}

void legend(std::string& svg, bool with_decision_height) {
  struct Entry {
    const char* colour;
    const char* text;
    bool dashed;
  };
  std::vector<Entry> entries = {{kHeightColour, "height above ground (ft)", false}};
  if (with_decision_height) entries.push_back({kDecisionColour, "decision height (ft)", true});
  entries.push_back({kSpeedColour, "vertical speed (ft/min)", false});
  entries.push_back({marker_colour(MarkKind::kVoice), "voice", false});
  entries.push_back({marker_colour(MarkKind::kSoundFailed), "sound failed", false});
  entries.push_back({marker_colour(MarkKind::kKey), "key event", false});
  entries.push_back({marker_colour(MarkKind::kLamp), "lamp", false});
  double at = kLeft;
  const std::string y = num(kHeight - 12);
  for (const Entry& e : entries) {
    svg += "<line x1=\"" + num(at) + "\" x2=\"" + num(at + 22) + "\" y1=\"" + num(kHeight - 16) +
           "\" y2=\"" + num(kHeight - 16) + "\" stroke=\"" + e.colour + "\" stroke-width=\"3\"" +
           (e.dashed ? " stroke-dasharray=\"6 4\"" : "") + "/><text class=\"legend\" x=\"" +
           num(at + 28) + "\" y=\"" + y + "\">" + e.text + "</text>\n";
    at += 40 + std::char_traits<char>::length(e.text) * kCharWidth;
  }
}

}  // namespace

std::string timeline_svg(const std::vector<FlightSample>& samples,
                         const std::vector<FlightEvent>& events, double fps,
                         bool with_decision_height) {
  double end_s = samples.empty() ? 1.0 : samples.back().frame / fps;
  for (const FlightEvent& e : events) end_s = std::max(end_s, e.frame / fps);
  // The time axis ends with the flight, not at the next round number.
  const PlotScale x{{0.0, std::max(end_s, 1e-3)}, kLeft, kRight};
  std::vector<double> heights, speeds;
  for (const FlightSample& s : samples) {
    heights.push_back(s.height_ft);
    if (with_decision_height && s.decision_height_ft) heights.push_back(*s.decision_height_ft);
    speeds.push_back(s.vertical_speed_fpm);
  }
  const PlotScale height{nice_range(heights, 0.0), kUpperTop + kUpperHeight, kUpperTop};
  const PlotScale speed{nice_range(speeds, 0.0), kLowerTop + kLowerHeight, kLowerTop};

  std::string svg = "<svg id=\"timeline\" viewBox=\"0 0 " + num(kWidth) + " " + num(kHeight) +
                    "\" role=\"img\" aria-label=\"timeline\">\n";
  axis(svg, height, kUpperTop, kUpperHeight, "height, ft");
  axis(svg, speed, kLowerTop, kLowerHeight, "vertical speed, ft/min");
  for (double t : nice_ticks(x.range)) {
    svg += "<text class=\"tick\" x=\"" + num(x(t)) + "\" y=\"" + num(kAxisBottom + 16) +
           "\" text-anchor=\"middle\">" + tick_text(t) + "</text>\n";
  }
  svg += "<text class=\"axis-title\" x=\"" + num((kLeft + kRight) / 2) + "\" y=\"" +
         num(kAxisBottom + 36) + "\" text-anchor=\"middle\">flight time, s</text>\n";
  markers(svg, events, x, fps);
  svg += "<path class=\"series height\" stroke=\"" + std::string(kHeightColour) + "\" d=\"" +
         series_path(samples, x, height, fps,
                     [](const FlightSample& s) { return std::optional(s.height_ft); }) +
         "\"/>\n";
  if (with_decision_height) {
    svg += "<path class=\"series decision-height\" stroke=\"" + std::string(kDecisionColour) +
           "\" stroke-dasharray=\"6 4\" d=\"" +
           series_path(samples, x, height, fps,
                       [](const FlightSample& s) { return s.decision_height_ft; }) +
           "\"/>\n";
  }
  svg += "<path class=\"series vertical-speed\" stroke=\"" + std::string(kSpeedColour) + "\" d=\"" +
         series_path(samples, x, speed, fps,
                     [](const FlightSample& s) { return std::optional(s.vertical_speed_fpm); }) +
         "\"/>\n";
  legend(svg, with_decision_height);
  return svg + "</svg>\n";
}

}  // namespace host::report
