#include "host/render/needle_angle.h"

#include <cmath>
#include <numbers>

namespace host::render {

double normalized_angle(double radians) {
  constexpr double kTurn = 2.0 * std::numbers::pi;
  if (!std::isfinite(radians)) return 0.0;
  double a = std::remainder(radians, kTurn);  // [-pi, pi]
  return a <= -std::numbers::pi ? a + kTurn : a;
}

double angle_to(int32_t pivot_x, int32_t pivot_y, int32_t x, int32_t y) {
  return std::atan2(static_cast<double>(y) - pivot_y, static_cast<double>(x) - pivot_x);
}

std::optional<double> needle_angle(int32_t pivot_x, int32_t pivot_y,
                                   const frame::NeedleEntry* table, size_t count, double value) {
  if (table == nullptr || count == 0) return std::nullopt;
  auto entry_angle = [&](size_t i) { return angle_to(pivot_x, pivot_y, table[i].x, table[i].y); };
  if (std::isnan(value)) return entry_angle(0);

  for (size_t i = 0; i + 1 < count; ++i) {
    const double v0 = table[i].value;
    const double v1 = table[i + 1].value;
    if (!(std::fmin(v0, v1) <= value && value <= std::fmax(v0, v1))) continue;
    const double t = v1 == v0 ? 0.0 : (value - v0) / (v1 - v0);
    const double a0 = entry_angle(i);
    // Between neighbours the needle moves the short way, also across +-180.
    const double step = normalized_angle(entry_angle(i + 1) - a0);
    return normalized_angle(a0 + t * step);
  }
  // Beyond the table: whichever end lies on the value's side.
  const double first = table[0].value;
  const double last = table[count - 1].value;
  const bool before_first = first <= last ? value < first : value > first;
  return entry_angle(before_first ? 0 : count - 1);
}

}  // namespace host::render
