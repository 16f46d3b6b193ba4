#include "host/envelope/label_font.h"

#include <string>

#include "host/render/tiny_font.h"

namespace host::envelope {
namespace {

using render::kGlyphHeight;
using render::kGlyphWidth;

// Five rows of three bits, the left pixel in the high bit, as in tiny_font.
struct Letter {
  char c;
  uint8_t rows[kGlyphHeight];
};

constexpr Letter kLetters[] = {
    {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}}, {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}},
    {'E', {7, 4, 6, 4, 7}}, {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}}, {'I', {7, 2, 2, 2, 7}},
    {'J', {1, 1, 1, 5, 2}}, {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}},
    {'N', {6, 5, 5, 5, 5}}, {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}}, {'Q', {2, 5, 5, 6, 3}},
    {'R', {6, 5, 6, 5, 5}}, {'S', {3, 4, 2, 1, 6}}, {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}}, {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}},
    {'/', {1, 1, 2, 4, 4}}, {'(', {2, 4, 4, 4, 2}}, {')', {2, 1, 1, 1, 2}}, {'+', {0, 2, 7, 2, 0}},
    {',', {0, 0, 0, 2, 4}},
};

const Letter* find_letter(char c) {
  for (const Letter& l : kLetters) {
    if (l.c == c) return &l;
  }
  return nullptr;
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Calls plot(col, row) for every lit pixel of `c`, in glyph coordinates.
template <typename Plot>
void for_each_pixel(char c, Plot plot) {
  if (const Letter* l = find_letter(upper(c)); l != nullptr) {
    for (int32_t row = 0; row < kGlyphHeight; ++row) {
      for (int32_t col = 0; col < kGlyphWidth; ++col) {
        if ((l->rows[row] >> (kGlyphWidth - 1 - col) & 1) != 0) plot(col, row);
      }
    }
    return;
  }
  // Digits and the caption signs come from the host's own font.
  render::Image cell(kGlyphWidth, kGlyphHeight);
  render::draw_text(cell, 0, 0, std::string(1, upper(c)), render::Rgb{255, 255, 255});
  for (int32_t row = 0; row < kGlyphHeight; ++row) {
    for (int32_t col = 0; col < kGlyphWidth; ++col) {
      if (cell.at(col, row).r != 0) plot(col, row);
    }
  }
}

}  // namespace

int32_t label_width(std::string_view text, int32_t scale) {
  return render::text_width(text, scale);
}

int32_t label_height(int32_t scale) {
  return kGlyphHeight * scale;
}

void draw_label(render::Image& target, int32_t x, int32_t y, std::string_view text,
                render::Rgb colour, int32_t scale) {
  for (size_t i = 0; i < text.size(); ++i) {
    const int32_t left = x + static_cast<int32_t>(i) * (kGlyphWidth + 1) * scale;
    for_each_pixel(text[i], [&](int32_t col, int32_t row) {
      target.fill_rect(left + col * scale, y + row * scale, scale, scale, colour);
    });
  }
}

void draw_label_upwards(render::Image& target, int32_t x, int32_t y, std::string_view text,
                        render::Rgb colour, int32_t scale) {
  const int32_t bottom = y + label_width(text, scale);
  for (size_t i = 0; i < text.size(); ++i) {
    const int32_t along = static_cast<int32_t>(i) * (kGlyphWidth + 1) * scale;
    for_each_pixel(text[i], [&](int32_t col, int32_t row) {
      // Turned left: glyph columns run up the picture, glyph rows to the right.
      target.fill_rect(x + row * scale, bottom - along - (col + 1) * scale, scale, scale, colour);
    });
  }
}

}  // namespace host::envelope
