#include "draw.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "formats/pixel_font.h"

namespace assetgen {

namespace {

// Clipping in 64 bits: x + w cannot overflow whatever the caller passes.
struct Span {
  int first = 0;
  int end = 0;  // one past the last
};

Span clip(int start, int length, int side) {
  const int64_t first = std::max<int64_t>(start, 0);
  const int64_t end = std::min<int64_t>(static_cast<int64_t>(start) + length, side);
  if (length <= 0 || end <= first) return {};
  return {static_cast<int>(first), static_cast<int>(end)};
}

void check_scale(int scale) {
  if (scale < 1 || scale > kMaxTextScale) {
    throw std::invalid_argument("text scale must be from 1 to " + std::to_string(kMaxTextScale) +
                                ", got " + std::to_string(scale));
  }
}

}  // namespace

void fill_rect(Image& image, Rect r, Rgb colour) {
  const Span xs = clip(r.x, r.w, image.width());
  const Span ys = clip(r.y, r.h, image.height());
  for (int y = ys.first; y < ys.end; ++y) {
    for (int x = xs.first; x < xs.end; ++x) image.set(x, y, colour);
  }
}

void draw_rect_outline(Image& image, Rect r, int thickness, Rgb colour) {
  if (r.w <= 0 || r.h <= 0 || thickness <= 0) return;
  const int t = std::min({thickness, (r.w + 1) / 2, (r.h + 1) / 2});
  fill_rect(image, {r.x, r.y, r.w, t}, colour);
  fill_rect(image, {r.x, r.y + r.h - t, r.w, t}, colour);
  fill_rect(image, {r.x, r.y + t, t, r.h - 2 * t}, colour);
  fill_rect(image, {r.x + r.w - t, r.y + t, t, r.h - 2 * t}, colour);
}

void fill_round_rect(Image& image, Rect r, int radius, Rgb colour) {
  if (r.w <= 0 || r.h <= 0) return;
  if (radius < 0 || radius > (std::min(r.w, r.h) - 1) / 2) {
    throw std::invalid_argument("radius " + std::to_string(radius) + " does not fit a " +
                                std::to_string(r.w) + "x" + std::to_string(r.h) + " rectangle");
  }
  const Span ys = clip(r.y, r.h, image.height());
  for (int y = ys.first; y < ys.end; ++y) {
    // Rows within radius of the top or bottom edge lose some columns at
    // both ends; the disc is symmetric, so one half-width serves both sides.
    const int from_top = y - r.y;
    const int from_bottom = r.y + r.h - 1 - y;
    const int dy = radius - std::min({from_top, from_bottom, radius});
    int inset = 0;
    while (inset < radius && (radius - inset) * (radius - inset) + dy * dy > radius * radius) {
      ++inset;
    }
    const Span xs = clip(r.x + inset, r.w - 2 * inset, image.width());
    for (int x = xs.first; x < xs.end; ++x) image.set(x, y, colour);
  }
}

int64_t text_width(std::string_view text, int scale) {
  return formats::legend_face().text_width(text, scale);
}

void draw_text(Image& image, int x, int y, std::string_view text, Rgb colour, int scale) {
  check_scale(scale);
  // All characters first, so text running off the picture fails the same.
  for (char ch : text) {
    if (formats::legend_face().find(ch) == nullptr) {
      throw std::invalid_argument("the pixel font has no glyph for character code " +
                                  std::to_string(static_cast<unsigned char>(ch)));
    }
  }
  formats::draw_text(image, formats::legend_face(), x, y, text, colour, scale);
}

}  // namespace assetgen
