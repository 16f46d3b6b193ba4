#pragma once
// Painting primitives for generated bitmaps. All of them clip to the picture,
// so shapes may lie partly or wholly outside it.
#include <cstdint>
#include <string_view>

#include "image.h"

namespace assetgen {

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;  // an empty or negative size draws nothing
  int h = 0;
};

void fill_rect(Image& image, Rect r, Rgb colour);

// The band of the given thickness just inside r; a thickness reaching the
// middle fills r.
void draw_rect_outline(Image& image, Rect r, int thickness, Rgb colour);

// r filled except outside a quarter disc of the given radius in each corner:
// a corner pixel at offsets (dx, dy) from its disc's centre pixel is painted
// when dx*dx + dy*dy <= radius*radius. Radius 1 drops only the four corner
// pixels. Precondition: 0 <= radius <= (min(w, h) - 1) / 2.
void fill_round_rect(Image& image, Rect r, int radius, Rgb colour);

inline constexpr int kMaxTextScale = 16;

// Width in pixels of text in the pixel font: each glyph is 5 * scale wide
// with scale blank columns between glyphs. 0 for empty text.
int64_t text_width(std::string_view text, int scale);

// Lit glyph pixels only: the background between strokes is left alone.
// (x, y) is the top-left of the first glyph. Throws std::invalid_argument
// for a character the font lacks or a scale outside 1..kMaxTextScale.
void draw_text(Image& image, int x, int y, std::string_view text, Rgb colour, int scale);

}  // namespace assetgen
