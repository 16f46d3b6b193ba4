#pragma once
// Drawing a picture turned about a point, by inverse mapping with
// nearest-neighbour sampling, so the same angle always gives the same pixels.
#include <cstdint>

#include "host/render/image.h"

namespace host::render {

struct RotatedDraw {
  int32_t pivot_x;  // the target pixel the source pivot lands on
  int32_t pivot_y;
  int32_t source_pivot_x;  // the source pixel turned about
  int32_t source_pivot_y;
  double angle;  // radians, clockwise on screen (y down)
  bool black_transparent;
};

void draw_rotated(Image& target, const Image& source, const RotatedDraw& how);

}  // namespace host::render
