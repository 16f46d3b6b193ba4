#pragma once
// The side view of a flight with an aircraft, the same for the report and
// the live page: the aircraft's trail (distance to the threshold, altitude
// and the alert the GPWS gave there, gpws_alert.h), the terrain profile
// under the approach and the glide path, read from the panel's aircraft
// after each frame. Drawn in the browser by host/report/side_view.js.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/aircraft/glide_path.h"
#include "host/aircraft/terrain_profile.h"
#include "host/report/gpws_alert.h"
#include "host/report/side_view_trail.h"

namespace host {
class PanelHost;
}

namespace host::report {

// Points the report keeps of a whole flight (an hour: about one a second),
// and the live page of a session.
inline constexpr size_t kMostReportTrailPoints = 6000;
inline constexpr size_t kMostLiveTrailPoints = 1500;

class SideView {
 public:
  // Follows `panel`'s events from now on; after_frame() reads its aircraft.
  SideView(PanelHost& panel, double frames_per_second, size_t most_points);

  // After each frame: a point of the trail while an aircraft flies. A frame
  // not after the last one read is let be.
  void after_frame(uint32_t frame);

  // Whether an aircraft flew in any frame read.
  bool flown() const { return flown_; }
  const std::vector<TrailPoint>& trail() const { return trail_.points(); }
  const std::vector<aircraft::ProfilePoint>& profile() const { return profile_; }
  const std::optional<aircraft::GlidePath>& glide_path() const { return glide_path_; }

  // The data both pages draw: {"profile":[[nm,ft],..],"glide_path":null or
  // {"angle_deg","threshold_elevation_ft","feet_per_nm"},"trail":[[frame,
  // nm,ft,alert],..],"alerts":[{"name","colour"},..]} (alerts in the order
  // of their numbers); "null" when no aircraft has flown.
  std::string json() const;

 private:
  PanelHost& panel_;
  GpwsAlerts alerts_;
  Trail trail_;
  std::vector<aircraft::ProfilePoint> profile_;
  std::optional<aircraft::GlidePath> glide_path_;
  std::optional<uint32_t> last_frame_;
  bool flown_ = false;
};

}  // namespace host::report
