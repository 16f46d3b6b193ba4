#pragma once
// The decision height knob: steps of 10 ft up to 100, 20 ft up to 500 and
// 100 ft to 1000. Lowering switches step one raising step later, so both
// directions visit the same settings.
#include <cstdint>

#include "frame/convert.h"
#include "frame/host_facts.h"

namespace radalt {

inline constexpr int32_t kLowestDhFt = 50;
inline constexpr int32_t kHighestDhFt = 1000;
// The GPWS's metres per foot, as the quotient its own feet factor gives.
inline constexpr double kMetresPerFoot = 1.0 / facts::kHeightFeetPerMetre;
static_assert(kMetresPerFoot == 0.30480000000000035);

constexpr int32_t raised_dh_ft(int32_t dh_ft) {
  int32_t step = dh_ft < 100 ? 10 : dh_ft < 500 ? 20 : 100;
  return dh_ft + step > kHighestDhFt ? kHighestDhFt : dh_ft + step;
}

constexpr int32_t lowered_dh_ft(int32_t dh_ft) {
  int32_t step = dh_ft < 120 ? 10 : dh_ft < 600 ? 20 : 100;
  return dh_ft - step < kLowestDhFt ? kLowestDhFt : dh_ft - step;
}

constexpr int32_t dh_metres(int32_t dh_ft) {
  return frame::trunc_to_i32(dh_ft * kMetresPerFoot);
}

}  // namespace radalt
