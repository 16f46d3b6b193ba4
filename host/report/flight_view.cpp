#include "host/report/flight_view.h"

#include <cstdio>

#include "host/panel_host.h"
#include "host/render/flight_layout.h"
#include "host/sim_names.h"
#include "radalt/radalt_elements.h"

namespace host::report {
namespace {

// The radar altimeter's DH marker: a needle whose value is the knob's
// decision height in feet, asked on every frame whether shown or not.
constexpr size_t kDhMarkerElement = radalt::kDhMarkerA;

}  // namespace

std::vector<const SeriesRow*> plotted_series(bool with_radalt) {
  std::vector<const SeriesRow*> out;
  for (const SeriesRow& row : kSeries) {
    if (with_radalt || !row.needs_radalt) out.push_back(&row);
  }
  return out;
}

std::string right_axis_label() {
  for (const SeriesRow& row : kSeries) {
    if (row.right_axis) return series_label(row);
  }
  return "";
}

std::string series_label(const SeriesRow& row) {
  return std::string(row.label) + ", " + row.unit;
}

double height_above_ground_ft(PanelHost& panel) {
  const SimVariables& sim = panel.sim();
  return (sim.get(kTokenAltitude) - sim.get(kTokenGroundElevation) / kGroundElevationScale) *
         kFeetPerMetre;
}

double vertical_speed_fpm(PanelHost& panel) {
  return panel.sim().get(kTokenVerticalSpeed);
}

std::optional<std::string> radalt_label(const std::vector<PanelGauge>& gauges) {
  const std::vector<std::string> labels = render::gauge_labels(gauges);
  for (size_t i = 0; i < gauges.size(); ++i) {
    if (gauges[i].module == "vrn_radalt" && gauges[i].gauge == "radalt") return labels[i];
  }
  return std::nullopt;
}

std::optional<double> decision_height_ft(const PanelHost& panel, const std::string& radalt) {
  if (!panel.started()) return std::nullopt;
  const GaugeInstance& gauge = panel.gauge(radalt);
  if (gauge.elements.size() <= kDhMarkerElement) return std::nullopt;
  const ElementState& marker = gauge.elements[kDhMarkerElement];
  if (marker.type != frame::kNeedle || !marker.needle_seen) return std::nullopt;
  return marker.last_value;
}

std::optional<double> series_value(PanelHost& panel, const std::optional<std::string>& radalt,
                                   Series series) {
  switch (series) {
    case Series::kHeight:
      return height_above_ground_ft(panel);
    case Series::kDecisionHeight:
      return radalt ? decision_height_ft(panel, *radalt) : std::nullopt;
    case Series::kVerticalSpeed:
      return vertical_speed_fpm(panel);
  }
  return std::nullopt;
}

std::string flight_time(uint32_t frame, double frames_per_second, int width) {
  char text[48];
  std::snprintf(text, sizeof text, "%*.2f s", width, frame / frames_per_second);
  return text;
}

}  // namespace host::report
