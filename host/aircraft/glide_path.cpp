#include "host/aircraft/glide_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/aircraft/aircraft.h"

namespace host::aircraft {
namespace {

constexpr double kFeetPerNauticalMile = kMetresPerNauticalMile / kMetresPerFoot;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

}  // namespace

double GlidePath::altitude_ft(double distance_nm, double dots) const {
  const double angle = (angle_deg + dots * kDegreesPerDot) * kRadiansPerDegree;
  return threshold_elevation_ft + distance_nm * kFeetPerNauticalMile * std::tan(angle);
}

// The angle the aircraft is seen at from the threshold, against the path's.
// Within a hundredth of a mile of the threshold (60 ft) and past it the
// angle swings without meaning a thing: the path guides no more and the
// deviation is 0, the needle centred, as over the runway.
double GlidePath::deviation_units(double distance_nm, double altitude_ft) const {
  constexpr double kNearestNm = 0.01;
  if (!(distance_nm > kNearestNm)) return 0.0;
  const double along_ft = distance_nm * kFeetPerNauticalMile;
  const double seen_deg =
      std::atan2(altitude_ft - threshold_elevation_ft, along_ft) / kRadiansPerDegree;
  const double units = (seen_deg - angle_deg) / kDegreesPerDot * kDeviationUnitsPerDot;
  if (std::isnan(units)) return 0.0;
  return std::clamp(units, -kDeviationLimit, kDeviationLimit);
}

}  // namespace host::aircraft
