#include "host/aircraft/glide_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/aircraft/aircraft.h"

namespace host::aircraft {
namespace {

constexpr double kFeetPerNauticalMile = kMetresPerNauticalMile / kMetresPerFoot;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The tangent and arc tangent by plain arithmetic (and sqrt, which IEEE
// rounds exactly), so that the values served come out the same bits under
// every C library: the native and the Windows host give the modules
// identical inputs. Both are good to a few ulps over the angles a glide
// path has (|x| below 0.5 rad; |z| up to 1).
double series_tan(double x) {
  double sin = 0.0, cos = 0.0, term = 1.0;  // x^n / n!
  for (int n = 0; n <= 24; ++n) {
    const double signed_term = (n / 2) % 2 == 0 ? term : -term;
    (n % 2 == 0 ? cos : sin) += signed_term;
    term = term * x / (n + 1);
  }
  return sin / cos;
}
double series_atan(double z) {
  // atan z = 2 atan(z / (1 + sqrt(1 + z^2))): halve the angle to below 0.1 rad.
  double scale = 1.0;
  while (std::abs(z) > 0.1) {
    z = z / (1.0 + std::sqrt(1.0 + z * z));
    scale *= 2.0;
  }
  double sum = 0.0, power = z;
  for (int n = 1; n <= 25; n += 2) {
    sum += (n % 4 == 1 ? power : -power) / n;
    power *= z * z;
  }
  return scale * sum;
}

}  // namespace

double GlidePath::altitude_ft(double distance_nm, double dots) const {
  const double angle = (angle_deg + dots * kDegreesPerDot) * kRadiansPerDegree;
  return threshold_elevation_ft + distance_nm * kFeetPerNauticalMile * series_tan(angle);
}

// The angle the aircraft is seen at from the threshold, against the path's.
// Within a hundredth of a mile of the threshold (60 ft) and past it the
// angle swings without meaning a thing: the path guides no more and the
// deviation is 0, the needle centred, as over the runway.
double GlidePath::deviation_units(double distance_nm, double altitude_ft) const {
  constexpr double kNearestNm = 0.01;
  if (!(distance_nm > kNearestNm)) return 0.0;
  const double along_ft = distance_nm * kFeetPerNauticalMile;
  const double slope = (altitude_ft - threshold_elevation_ft) / along_ft;
  if (std::isnan(slope)) return 0.0;
  // Seen more than 45 degrees up or down: far off any path, full scale.
  if (std::abs(slope) > 1.0) return slope > 0 ? kDeviationLimit : -kDeviationLimit;
  const double seen_deg = series_atan(slope) / kRadiansPerDegree;
  const double units = (seen_deg - angle_deg) / kDegreesPerDot * kDeviationUnitsPerDot;
  return std::clamp(units, -kDeviationLimit, kDeviationLimit);
}

}  // namespace host::aircraft
