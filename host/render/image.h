#pragma once
// The host's pictures are the format library's RGB images; these are the
// steps the panel pictures are composed with.
#include <cstdint>

#include "formats/image.h"

namespace host::render {

using formats::Image;
using formats::kBlack;
using formats::kMaxImageSide;
using formats::Rgb;

// Nearest-neighbour scaling to width x height (each at least 1).
Image scale_nearest(const Image& source, int32_t width, int32_t height);

// Copies `source` with its top-left corner at (x, y), clipped; with
// `black_transparent` the pure black pixels leave what is below.
void draw_image(Image& target, const Image& source, int32_t x, int32_t y,
                bool black_transparent = false);

}  // namespace host::render
