#pragma once
// Height above ground from the host's altitude and ground elevation.
#include <cstdint>

#include "frame/convert.h"
#include "frame/host_facts.h"

namespace gpws {

struct Heights {
  int32_t altitude_m;
  int32_t ground_m;
  uint32_t height_ft;
};

// Ground elevation arrives in metres x 256 and may be below sea level, so it
// is floored to signed whole metres; an aircraft below the ground elevation
// is at height 0 rather than wrapping to billions of feet.
constexpr Heights compute_heights(double aircraft_altitude, double ground_elevation_256) {
  Heights h{};
  h.altitude_m = frame::trunc_to_i32(aircraft_altitude);
  h.ground_m = frame::trunc_to_i32(ground_elevation_256) >> 8;  // arithmetic: floor of x / 256
  if (h.altitude_m < h.ground_m) return h;
  auto above_m = static_cast<uint32_t>(int64_t{h.altitude_m} - h.ground_m);
  double feet = static_cast<double>(above_m) * facts::kHeightFeetPerMetre;
  h.height_ft = static_cast<uint32_t>(frame::trunc_saturate<int64_t>(feet));  // low 32 bits
  return h;
}

}  // namespace gpws
