#include "host/report/side_view.h"

#include <cmath>
#include <cstdio>

#include "host/aircraft/aircraft.h"
#include "host/panel_host.h"
#include "host/report/html_text.h"

namespace host::report {
namespace {

// "3.1", "-0.0021"; null for a value that is not a number. Distances keep a
// ten-thousandth of a mile (a frame at 140 kt is about 0.002 nm), heights a
// tenth of a foot.
std::string number(double v, int decimals) {
  if (!std::isfinite(v)) return "null";
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  std::string s = text;
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

bool same_profile(const std::vector<aircraft::ProfilePoint>& a,
                  const std::vector<aircraft::ProfilePoint>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].distance_nm != b[i].distance_nm || a[i].elevation_ft != b[i].elevation_ft) {
      return false;
    }
  }
  return true;
}

}  // namespace

SideView::SideView(PanelHost& panel, double frames_per_second, size_t most_points)
    : panel_(panel), alerts_(panel.events(), frames_per_second), trail_(most_points) {}

void SideView::after_frame(uint32_t frame) {
  if (last_frame_ && frame <= *last_frame_) return;
  last_frame_ = frame;
  const aircraft::Aircraft* a = panel_.aircraft();
  if (a == nullptr) return;
  flown_ = true;
  const aircraft::AircraftState& s = a->state();
  trail_.add({frame, s.distance_nm, s.altitude_ft, alerts_.at(frame)});
  if (!same_profile(profile_, a->terrain().points())) profile_ = a->terrain().points();
  glide_path_ = a->glide_path();
}

std::string SideView::json() const {
  if (!flown_) return "null";
  std::string out = "{\"profile\":[";
  for (size_t i = 0; i < profile_.size(); ++i) {
    out += (i == 0 ? "[" : ",[") + number(profile_[i].distance_nm, 4) + "," +
           number(profile_[i].elevation_ft, 1) + "]";
  }
  out += "],\"glide_path\":";
  if (glide_path_) {
    const double per_nm = glide_path_->altitude_ft(1.0) - glide_path_->altitude_ft(0.0);
    out += "{\"angle_deg\":" + number(glide_path_->angle_deg, 3) +
           ",\"threshold_elevation_ft\":" + number(glide_path_->threshold_elevation_ft, 1) +
           ",\"feet_per_nm\":" + number(per_nm, 3) + "}";
  } else {
    out += "null";
  }
  out += ",\n\"trail\":[";
  const std::vector<TrailPoint>& points = trail_.points();
  out.reserve(out.size() + points.size() * 28);
  for (size_t i = 0; i < points.size(); ++i) {
    const TrailPoint& p = points[i];
    out += (i == 0 ? "\n[" : ",\n[") + std::to_string(p.frame) + "," + number(p.distance_nm, 4) +
           "," + number(p.altitude_ft, 1) + "," + std::to_string(static_cast<int>(p.alert)) + "]";
  }
  out += "],\n\"alerts\":[";
  for (size_t i = 0; i < std::size(kGpwsAlerts); ++i) {
    out += std::string(i == 0 ? "" : ",") + "{\"name\":" + js_string(kGpwsAlerts[i].name) +
           ",\"colour\":" + js_string(kGpwsAlerts[i].colour) + "}";
  }
  return out + "]}";
}

}  // namespace host::report
