#pragma once
// A glide path to the runway threshold: its angle and the threshold's
// elevation. The deviation the host serves is the angle error seen from the
// aircraft, scaled so that one dot is 0.35 degrees and two dots (0.7
// degrees, full scale) are 127 deviation units, clamped there; negative is
// below the path. The GPWS's below-glideslope region (below -59) thus
// starts just short of one dot low.
#include <optional>

namespace host::aircraft {

inline constexpr double kDegreesPerDot = 0.35;
inline constexpr double kDeviationUnitsPerDot = 63.5;
inline constexpr double kDeviationLimit = 127.0;

struct GlidePath {
  double angle_deg = 3.0;
  double threshold_elevation_ft = 0.0;

  // The altitude (ft) on the path, or `dots` above it (negative: below), at
  // a distance from the threshold.
  double altitude_ft(double distance_nm, double dots = 0.0) const;
  // The deviation in the host's units for an aircraft there.
  double deviation_units(double distance_nm, double altitude_ft) const;
};

}  // namespace host::aircraft
