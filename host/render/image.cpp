#include "host/render/image.h"

#include <string>

#include "host/host_error.h"

namespace host::render {

Image scale_nearest(const Image& source, int32_t width, int32_t height) {
  if (width < 1 || height < 1 || source.empty()) {
    throw HostError("cannot scale a picture to " + std::to_string(width) + " x " +
                    std::to_string(height));
  }
  Image out(width, height);
  // Sample at each target pixel's centre: (2d + 1) * s / 2t, in integers.
  for (int32_t y = 0; y < height; ++y) {
    const auto sy =
        static_cast<int32_t>((2 * int64_t{y} + 1) * source.height() / (2 * int64_t{height}));
    for (int32_t x = 0; x < width; ++x) {
      const auto sx =
          static_cast<int32_t>((2 * int64_t{x} + 1) * source.width() / (2 * int64_t{width}));
      out.set(x, y, source.at(sx, sy));
    }
  }
  return out;
}

void draw_image(Image& target, const Image& source, int32_t x, int32_t y, bool black_transparent) {
  for (int32_t sy = 0; sy < source.height(); ++sy) {
    const int64_t ty = int64_t{y} + sy;
    if (ty < 0 || ty >= target.height()) continue;
    for (int32_t sx = 0; sx < source.width(); ++sx) {
      const int64_t tx = int64_t{x} + sx;
      if (!target.contains(tx, ty)) continue;
      const Rgb c = source.at(sx, sy);
      if (black_transparent && c == kBlack) continue;
      target.set(static_cast<int32_t>(tx), static_cast<int32_t>(ty), c);
    }
  }
}

}  // namespace host::render
