#pragma once
// assetgen paints into the format library's picture type; this adds the
// limit on the bitmaps it generates.
#include "formats/image.h"

namespace assetgen {

using formats::Image;
using formats::Rgb;

// Sides of a generated bitmap: 1 to 4096 pixels.
inline constexpr int kMaxSide = 4096;

// Throws std::invalid_argument unless both sides are in 1..kMaxSide.
Image new_canvas(int width, int height, Rgb fill = {});

}  // namespace assetgen
