#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

struct Range {
  int first = 0;
  int last = -1;  // inclusive; empty when last < first
};

// The pixel indices from lo to hi within 0..side-1. The comparisons come
// before any conversion, so NaN, infinities and far-off values give an
// empty or clamped range, never an out-of-range cast.
Range pixels_between(double lo, double hi, int side) {
  if (!(lo <= hi) || !(hi >= 0.0) || !(lo <= side - 1.0)) return {};
  const double first = std::max(std::ceil(lo), 0.0);
  const double last = std::min(std::floor(hi), side - 1.0);
  return {static_cast<int>(first), static_cast<int>(last)};
}

// Calls inside(x, y) for every pixel of the clipped box and paints those it
// accepts.
template <typename Inside>
void paint(Image& image, Point low, Point high, Rgb colour, Inside inside) {
  const Range xs = pixels_between(low.x, high.x, image.width());
  const Range ys = pixels_between(low.y, high.y, image.height());
  for (int y = ys.first; y <= ys.last; ++y) {
    for (int x = xs.first; x <= xs.last; ++x) {
      if (inside(static_cast<double>(x), static_cast<double>(y))) image.set(x, y, colour);
    }
  }
}

double edge(Point a, Point b, double x, double y) {
  return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
}

}  // namespace

void fill_disc(Image& image, Point centre, double radius, Rgb colour) {
  const double r2 = radius * radius;
  paint(image, {centre.x - radius, centre.y - radius}, {centre.x + radius, centre.y + radius},
        colour, [&](double x, double y) {
          const double dx = x - centre.x;
          const double dy = y - centre.y;
          return dx * dx + dy * dy <= r2;
        });
}

void draw_ring(Image& image, Point centre, double radius, double thickness, Rgb colour) {
  const double r2 = radius * radius;
  const double hole = radius - thickness;
  const double hole2 = hole < 0.0 ? -1.0 : hole * hole;
  paint(image, {centre.x - radius, centre.y - radius}, {centre.x + radius, centre.y + radius},
        colour, [&](double x, double y) {
          const double dx = x - centre.x;
          const double dy = y - centre.y;
          const double d2 = dx * dx + dy * dy;
          return d2 <= r2 && d2 > hole2;
        });
}

void draw_line(Image& image, Point a, Point b, double thickness, Rgb colour) {
  const double half = thickness / 2.0;
  const double half2 = half * half;
  const double ex = b.x - a.x;
  const double ey = b.y - a.y;
  const double length2 = ex * ex + ey * ey;
  paint(image, {std::min(a.x, b.x) - half, std::min(a.y, b.y) - half},
        {std::max(a.x, b.x) + half, std::max(a.y, b.y) + half}, colour, [&](double x, double y) {
          const double px = x - a.x;
          const double py = y - a.y;
          // Where along the segment the nearest point lies, 0 at a, 1 at b.
          const double t =
              length2 > 0.0 ? std::clamp((px * ex + py * ey) / length2, 0.0, 1.0) : 0.0;
          const double dx = px - t * ex;
          const double dy = py - t * ey;
          return dx * dx + dy * dy <= half2;
        });
}

void draw_tick(Image& image, Point centre, Point toward, double inner, double outer,
               double thickness, Rgb colour) {
  const double vx = toward.x - centre.x;
  const double vy = toward.y - centre.y;
  // sqrt is correctly rounded everywhere; hypot is not.
  const double length = std::sqrt(vx * vx + vy * vy);
  if (!(length > 0.0)) return;
  const double ux = vx / length;
  const double uy = vy / length;
  const double half = thickness / 2.0;
  const Point near{centre.x + ux * inner, centre.y + uy * inner};
  const Point far{centre.x + ux * outer, centre.y + uy * outer};
  paint(image, {std::min(near.x, far.x) - half, std::min(near.y, far.y) - half},
        {std::max(near.x, far.x) + half, std::max(near.y, far.y) + half}, colour,
        [&](double x, double y) {
          const double px = x - centre.x;
          const double py = y - centre.y;
          const double along = px * ux + py * uy;
          const double across = px * uy - py * ux;
          return along >= inner && along <= outer && std::fabs(across) <= half;
        });
}

void fill_triangle(Image& image, Point a, Point b, Point c, Rgb colour) {
  paint(image, {std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y})},
        {std::max({a.x, b.x, c.x}), std::max({a.y, b.y, c.y})}, colour, [&](double x, double y) {
          const double e0 = edge(a, b, x, y);
          const double e1 = edge(b, c, x, y);
          const double e2 = edge(c, a, x, y);
          return (e0 >= 0.0 && e1 >= 0.0 && e2 >= 0.0) || (e0 <= 0.0 && e1 <= 0.0 && e2 <= 0.0);
        });
}

}  // namespace assetgen
