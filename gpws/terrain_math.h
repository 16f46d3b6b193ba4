#pragma once
// The terrain closure estimator and the terrain envelope: pure arithmetic on
// the host's terrain height and time, in the exact order and constants the
// GPWS has always used, so that results match to the last bit.
#include <cmath>

#include "frame/host_facts.h"

namespace gpws {

inline constexpr double kMinutesPerSecond = 0.016666666666666666;
inline constexpr double kNewWeight = 0.125;
inline constexpr double kOldWeight = 0.875;
inline constexpr double kEnvelopeTopFt = 1650.0;
inline constexpr double kOneOver1650 = 0.0006060606060606061;

struct ClosureEstimator {
  double smoothed_height;  // ft
  double rate_ref_height;  // ft, at the last rate update
  double prev_time_min;
  double smoothed_rate;  // ft/min, positive while the terrain comes closer
};

// One estimator step; returns the smoothed closure rate. A time that stands
// still or runs back leaves the rate alone. A non-finite input would poison
// the filters for the rest of the flight, so such a step changes nothing.
inline double estimate_closure(ClosureEstimator& e, double terrain_height_m, double time_seconds) {
  if (!std::isfinite(terrain_height_m) || !std::isfinite(time_seconds)) return e.smoothed_rate;
  double t = time_seconds * kMinutesPerSecond;
  e.smoothed_height =
      kNewWeight * (terrain_height_m * facts::kFeetPerMetre) + kOldWeight * e.smoothed_height;
  double dt = t - e.prev_time_min;
  if (dt > 0) {
    double d = e.smoothed_height - e.rate_ref_height;
    e.rate_ref_height = e.smoothed_height;
    e.smoothed_rate = kNewWeight * (-(d / dt)) + kOldWeight * e.smoothed_rate;
  }
  e.prev_time_min = t;
  return e.smoothed_rate;
}

// The closure rate that alerts rises linearly from 2000 ft/min at the
// terrain to 4000 ft/min at 1650 ft; above 1650 ft there is no alert.
inline bool terrain_envelope(double terrain_height_m, double closure_rate) {
  double x = terrain_height_m * facts::kFeetPerMetre;
  if (x > kEnvelopeTopFt) return false;
  double limit = (4000.0 * x - 2000.0 * (x - kEnvelopeTopFt)) * kOneOver1650;
  return closure_rate > limit;
}

}  // namespace gpws
