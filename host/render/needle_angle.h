#pragma once
// Where a needle points for a value: its table pairs values with points of
// the dial; the needle turns about its pivot towards them. Angles are in
// radians in picture coordinates (y down), so a growing angle turns
// clockwise on the screen; 0 points along +x.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "frame/records.h"

namespace host::render {

// Into (-pi, pi].
double normalized_angle(double radians);

// From the pivot to a point of the dial.
double angle_to(int32_t pivot_x, int32_t pivot_y, int32_t x, int32_t y);

// The angle for `value`, interpolated between the two entries around it the
// short way round; outside the table (and for NaN) the end entry. Empty
// tables give nothing.
std::optional<double> needle_angle(int32_t pivot_x, int32_t pivot_y,
                                   const frame::NeedleEntry* table, size_t count, double value);

}  // namespace host::render
