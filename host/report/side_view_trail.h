#pragma once
// The aircraft's trail as the side view draws it (side_view.h): where it
// was at each frame and the alert the GPWS gave there, thinned as a flight
// grows long so that a page carries a bounded number of points.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/report/gpws_alert.h"

namespace host::report {

struct TrailPoint {
  uint32_t frame = 0;
  double distance_nm = 0.0;
  double altitude_ft = 0.0;  // above sea level
  GpwsAlert alert = GpwsAlert::kNone;
};

// A trail of at most `most_points` points however long the flight: every
// frame while there is room, then every other frame, every fourth... (the
// stride doubles each time the trail is full), while the first and last
// frame of each stretch of one alert stay, so the colours change where
// they did. The last point is always the newest frame: where the aircraft
// is now. Frames not after the last one are let be.
class Trail {
 public:
  explicit Trail(size_t most_points) : most_(most_points < 4 ? 4 : most_points) {}

  void add(const TrailPoint& point);
  const std::vector<TrailPoint>& points() const { return points_; }
  // Frames between the points kept of a stretch: 1 until the trail thins.
  uint32_t stride() const { return stride_; }

 private:
  void thin();

  size_t most_;
  uint32_t stride_ = 1;
  // Points are kept on every stride-th frame from the first (its cell),
  // and where the alert changes.
  uint32_t origin_ = 0;
  uint32_t last_cell_ = 0;  // of the last point kept
  bool tail_ = false;       // the last point only marks where the aircraft is now
  std::vector<TrailPoint> points_;
};

}  // namespace host::report
