#pragma once
// The one conversion from simulation doubles to integers. Host values can be
// NaN, infinite or far out of range; none of these may become undefined
// behaviour or a false alert.
#include <concepts>
#include <cstdint>
#include <limits>

namespace frame {

// Truncates toward zero; NaN gives 0 and values beyond the range of `Int`
// saturate at its ends.
template <std::integral Int>
constexpr Int trunc_saturate(double value) {
  using Limits = std::numeric_limits<Int>;
  // 2^digits, the first value past the top, and the bottom: exact as doubles.
  constexpr double kPastTop = 2.0 * static_cast<double>(Int{1} << (Limits::digits - 1));
  constexpr double kBottom = static_cast<double>(Limits::min());
  if (value != value) return 0;
  if (value >= kPastTop) return Limits::max();
  if (value <= kBottom - 1.0) return Limits::min();
  return static_cast<Int>(value);
}

constexpr int32_t trunc_to_i32(double value) {
  return trunc_saturate<int32_t>(value);
}

}  // namespace frame
