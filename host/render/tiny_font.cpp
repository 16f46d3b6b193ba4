#include "host/render/tiny_font.h"

namespace host::render {
namespace {

// Five rows of three bits each, the left pixel in the high bit.
struct Glyph {
  char c;
  uint8_t rows[kGlyphHeight];
};

constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'F', {7, 4, 6, 4, 4}}, {'T', {7, 2, 2, 2, 2}},
    {'.', {0, 0, 0, 0, 2}}, {':', {0, 2, 0, 2, 0}}, {'-', {0, 0, 7, 0, 0}},
};

const Glyph* find_glyph(char c) {
  for (const Glyph& g : kGlyphs) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

}  // namespace

int32_t text_width(std::string_view text, int32_t scale) {
  if (text.empty()) return 0;
  return static_cast<int32_t>(text.size()) * (kGlyphWidth + 1) * scale - scale;
}

void draw_text(Image& target, int32_t x, int32_t y, std::string_view text, Rgb colour,
               int32_t scale) {
  for (size_t i = 0; i < text.size(); ++i) {
    const Glyph* g = find_glyph(text[i]);
    if (g == nullptr) continue;
    const int32_t left = x + static_cast<int32_t>(i) * (kGlyphWidth + 1) * scale;
    for (int32_t row = 0; row < kGlyphHeight; ++row) {
      for (int32_t col = 0; col < kGlyphWidth; ++col) {
        if ((g->rows[row] >> (kGlyphWidth - 1 - col) & 1) == 0) continue;
        target.fill_rect(left + col * scale, y + row * scale, scale, scale, colour);
      }
    }
  }
}

}  // namespace host::render
