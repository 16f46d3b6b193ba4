#pragma once
// GPWS timers: 32-bit deadlines in host ticks, all ones when disarmed.
//
// The host's tick counter can skip values (a slow frame) or even step back,
// so a deadline is due once the clock is at it or past it, not only when the
// two are equal. With wrap-safe unsigned arithmetic: due when the deadline
// is no longer ahead of the clock by 1 to kLongestDeadlineTicks ticks.
#include <cstdint>

#include "frame/convert.h"

namespace gpws {

inline constexpr uint32_t kDisarmedDeadline = 0xFFFFFFFFu;
// The longest interval any GPWS deadline is set ahead.
inline constexpr uint32_t kLongestDeadlineTicks = 54;

// The clock as the 32-bit tick count deadlines are kept in (low 32 bits).
constexpr uint32_t clock_ticks32(double clock_ticks) {
  return static_cast<uint32_t>(frame::trunc_saturate<int64_t>(clock_ticks));
}

constexpr uint32_t deadline_after(double clock_ticks, uint32_t ticks) {
  return clock_ticks32(clock_ticks + ticks);
}

constexpr bool deadline_due(uint32_t deadline, double clock_ticks) {
  if (deadline == kDisarmedDeadline) return false;
  uint32_t ahead_ticks = deadline - clock_ticks32(clock_ticks);
  return ahead_ticks == 0 || ahead_ticks > kLongestDeadlineTicks;
}

}  // namespace gpws
