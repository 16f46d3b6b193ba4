#include "host/render/rotated_draw.h"

#include <algorithm>
#include <cmath>

#include "frame/convert.h"

namespace host::render {

// Pixel (i, j) covers [i, i+1) x [j, j+1); the pivots are pixel centres, so
// target and source centres line up exactly at angle 0 and sampling never
// sits on a pixel edge at right angles.
void draw_rotated(Image& target, const Image& source, const RotatedDraw& how) {
  if (source.empty() || target.empty() || !std::isfinite(how.angle)) return;
  const double c = std::cos(how.angle);
  const double s = std::sin(how.angle);
  const double spx = static_cast<double>(how.source_pivot_x) + 0.5;
  const double spy = static_cast<double>(how.source_pivot_y) + 0.5;

  // The turned source's bounding box, relative to the target pivot's centre.
  const double us[2] = {-spx, source.width() - spx};
  const double vs[2] = {-spy, source.height() - spy};
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  bool first = true;
  for (double u : us) {
    for (double v : vs) {
      const double x = u * c - v * s;
      const double y = u * s + v * c;
      min_x = first ? x : std::min(min_x, x);
      max_x = first ? x : std::max(max_x, x);
      min_y = first ? y : std::min(min_y, y);
      max_y = first ? y : std::max(max_y, y);
      first = false;
    }
  }
  const double cx = static_cast<double>(how.pivot_x) + 0.5;
  const double cy = static_cast<double>(how.pivot_y) + 0.5;
  const int64_t x0 = std::max<int64_t>(0, frame::trunc_saturate<int32_t>(std::floor(cx + min_x)));
  const int64_t y0 = std::max<int64_t>(0, frame::trunc_saturate<int32_t>(std::floor(cy + min_y)));
  const int64_t x1 =
      std::min<int64_t>(target.width(), frame::trunc_saturate<int32_t>(std::ceil(cx + max_x)));
  const int64_t y1 =
      std::min<int64_t>(target.height(), frame::trunc_saturate<int32_t>(std::ceil(cy + max_y)));

  for (int64_t ty = y0; ty < y1; ++ty) {
    const double ry = static_cast<double>(ty - how.pivot_y);
    for (int64_t tx = x0; tx < x1; ++tx) {
      const double rx = static_cast<double>(tx - how.pivot_x);
      // Turn the target offset back by the angle to find the source pixel.
      const double u = c * rx + s * ry;
      const double v = -s * rx + c * ry;
      const int32_t sx = frame::trunc_saturate<int32_t>(std::floor(spx + u));
      const int32_t sy = frame::trunc_saturate<int32_t>(std::floor(spy + v));
      if (!source.contains(sx, sy)) continue;
      const Rgb colour = source.at(sx, sy);
      if (how.black_transparent && colour == kBlack) continue;
      target.set(static_cast<int32_t>(tx), static_cast<int32_t>(ty), colour);
    }
  }
}

}  // namespace host::render
