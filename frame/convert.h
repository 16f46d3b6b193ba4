#pragma once
// The one conversion from simulation doubles to integers. Host values can be
// NaN, infinite or far out of range; none of these may become undefined
// behaviour or a false alert.
#include <cstdint>
#include <limits>

namespace frame {

// Truncates toward zero; NaN gives 0 and values beyond the range saturate.
constexpr int32_t trunc_to_i32(double value) {
  if (value != value) return 0;
  if (value >= 2147483648.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483649.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace frame
