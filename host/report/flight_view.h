#pragma once
// A flight as people see it, the same on the live page and in the report:
// the series plotted against flight time with their labels, units and
// colours, how each is read from the host (the radar altimeter's DH among
// them), the flight time's text and which marks the panel shows.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/event_marks.h"
#include "host/panel_config.h"

namespace host {
class PanelHost;
}

namespace host::report {

enum class Series : uint8_t { kHeight, kDecisionHeight, kVerticalSpeed };

struct SeriesRow {
  Series series;
  const char* key;     // its name in the data: the live state's key
  const char* label;   // "height above ground"
  const char* unit;    // "ft"
  const char* colour;  // the same line on both pages
  bool right_axis;     // against the second axis (its unit differs)
  bool dashed;         // a setting, not a measurement
  bool needs_radalt;   // plotted only with a radar altimeter on the panel
};

inline constexpr SeriesRow kSeries[] = {
    {Series::kHeight, "height_ft", "height above ground", "ft", "#2f9e44", false, false, false},
    {Series::kDecisionHeight, "decision_height_ft", "decision height", "ft", "#e8590c", false, true,
     true},
    {Series::kVerticalSpeed, "vertical_speed_fpm", "vertical speed", "ft/min", "#1971c2", true,
     false, false},
};

// The axes' titles: time across, the left axis's series' unit up.
inline constexpr const char* kTimeAxis = "flight time, s";
inline constexpr const char* kLeftAxis = "height, ft";
// The right axis's: its series' label.
std::string right_axis_label();

// The series a flight plots: all, or all but the radar altimeter's.
std::vector<const SeriesRow*> plotted_series(bool with_radalt);
// "height above ground, ft"
std::string series_label(const SeriesRow& row);

// Height above ground from the simulation's altitude and ground elevation.
double height_above_ground_ft(PanelHost& panel);
double vertical_speed_fpm(PanelHost& panel);

// The label of the panel's radar altimeter (its first), if it has one.
std::optional<std::string> radalt_label(const std::vector<PanelGauge>& gauges);
// The decision height the radar altimeter's knob is set to, once its DH
// marker has been asked for its value.
std::optional<double> decision_height_ft(const PanelHost& panel, const std::string& radalt);

// A series' value now, as both pages read it (`radalt`: the panel's radar
// altimeter, radalt_label()); nothing where it has none.
std::optional<double> series_value(PanelHost& panel, const std::optional<std::string>& radalt,
                                   Series series);

// "52.67 s"; the number right-aligned in `width` characters when asked.
std::string flight_time(uint32_t frame, double frames_per_second, int width = 0);

// Whether a mark of this kind is seen or heard on the panel (a marker on
// the timeline, a picture of the panel); named-variable writes are not.
inline bool on_panel(MarkKind kind) {
  return mark_kind_row(kind).on_panel;
}

}  // namespace host::report
