#pragma once
// Round and slanted shapes for dials and needles. Coordinates are doubles so
// marks can aim at points between pixels. Pixel (x, y) stands for the point
// (x, y): integer coordinates name pixel centres, as for the rectangle
// commands. A pixel is painted when that point lies in the shape, edges
// included, so the result depends on plain IEEE arithmetic only. Everything
// clips to the picture.
#include "image.h"

namespace assetgen {

struct Point {
  double x = 0;
  double y = 0;
};

// Pixels within radius of centre.
void fill_disc(Image& image, Point centre, double radius, Rgb colour);

// The band of the given thickness just inside the circle: distance d from
// centre with radius - thickness < d <= radius.
void draw_ring(Image& image, Point centre, double radius, double thickness, Rgb colour);

// Pixels within thickness / 2 of the segment from a to b, so the ends are
// round. A line along a pixel row covers 2 * floor(thickness / 2) + 1 rows;
// put it on a half-pixel coordinate for an even number.
void draw_line(Image& image, Point a, Point b, double thickness, Rgb colour);

// A scale mark on the ray from centre through toward: pixels at distance
// inner..outer along the ray and at most thickness / 2 off it, square ends.
// Nothing is drawn when toward equals centre.
void draw_tick(Image& image, Point centre, Point toward, double inner, double outer,
               double thickness, Rgb colour);

// Pixels inside the triangle or on its edges, whichever way it winds. A flat
// triangle paints the pixels lying exactly on it.
void fill_triangle(Image& image, Point a, Point b, Point c, Rgb colour);

}  // namespace assetgen
