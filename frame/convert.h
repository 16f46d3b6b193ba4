#pragma once
// The one conversion from simulation doubles to integers. Host values can be
// NaN, infinite or far out of range; none of these may become undefined
// behaviour or a false alert.
#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace frame {

namespace convert_detail {

// The processor's own truncation: exact for every value in range, and the
// lowest value of the type for NaN, infinities and everything out of range
// (and for the values that truly truncate to it). Only the types it has an
// instruction for take this way; `ok` is false for the rest.
template <std::integral Int>
inline Int processor_trunc(double value, bool& ok) {
#if defined(__SSE2__)
  if constexpr (std::is_same_v<Int, int32_t>) {
    ok = true;
    return _mm_cvttsd_si32(_mm_set_sd(value));
  }
#if defined(__x86_64__)
  if constexpr (std::is_same_v<Int, int64_t>) {
    ok = true;
    return _mm_cvttsd_si64(_mm_set_sd(value));
  }
#endif
#endif
  (void)value;
  ok = false;
  return 0;
}

}  // namespace convert_detail

// Truncates toward zero; NaN gives 0 and values beyond the range of `Int`
// saturate at its ends.
template <std::integral Int>
constexpr Int trunc_saturate(double value) {
  using Limits = std::numeric_limits<Int>;
  if (!std::is_constant_evaluated()) {
    // Any answer but the lowest is the truncation itself; the lowest is
    // sorted out by the checks below.
    bool ok = false;
    Int quick = convert_detail::processor_trunc<Int>(value, ok);
    if (ok && quick != Limits::min()) return quick;
  }
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
