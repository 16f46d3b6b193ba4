#include "formats/pixel_font.h"

#include <cstddef>

namespace formats {
namespace {

constexpr Glyph kLegendGlyphs[] = {
    {'A', {0b01110, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001}},
    {'B', {0b11110, 0b10001, 0b10001, 0b11110, 0b10001, 0b10001, 0b11110}},
    {'C', {0b01110, 0b10001, 0b10000, 0b10000, 0b10000, 0b10001, 0b01110}},
    {'D', {0b11110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b11110}},
    {'E', {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b11111}},
    {'F', {0b11111, 0b10000, 0b10000, 0b11110, 0b10000, 0b10000, 0b10000}},
    {'G', {0b01110, 0b10001, 0b10000, 0b10111, 0b10001, 0b10001, 0b01111}},
    {'H', {0b10001, 0b10001, 0b10001, 0b11111, 0b10001, 0b10001, 0b10001}},
    {'I', {0b01110, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110}},
    {'J', {0b00111, 0b00010, 0b00010, 0b00010, 0b00010, 0b10010, 0b01100}},
    {'K', {0b10001, 0b10010, 0b10100, 0b11000, 0b10100, 0b10010, 0b10001}},
    {'L', {0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b10000, 0b11111}},
    {'M', {0b10001, 0b11011, 0b10101, 0b10101, 0b10001, 0b10001, 0b10001}},
    {'N', {0b10001, 0b10001, 0b11001, 0b10101, 0b10011, 0b10001, 0b10001}},
    {'O', {0b01110, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110}},
    {'P', {0b11110, 0b10001, 0b10001, 0b11110, 0b10000, 0b10000, 0b10000}},
    {'Q', {0b01110, 0b10001, 0b10001, 0b10001, 0b10101, 0b10010, 0b01101}},
    {'R', {0b11110, 0b10001, 0b10001, 0b11110, 0b10100, 0b10010, 0b10001}},
    {'S', {0b01111, 0b10000, 0b10000, 0b01110, 0b00001, 0b00001, 0b11110}},
    {'T', {0b11111, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100, 0b00100}},
    {'U', {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01110}},
    {'V', {0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b01010, 0b00100}},
    {'W', {0b10001, 0b10001, 0b10001, 0b10101, 0b10101, 0b10101, 0b01010}},
    {'X', {0b10001, 0b10001, 0b01010, 0b00100, 0b01010, 0b10001, 0b10001}},
    {'Y', {0b10001, 0b10001, 0b01010, 0b00100, 0b00100, 0b00100, 0b00100}},
    {'Z', {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b10000, 0b11111}},
    {'0', {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110}},
    {'1', {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110}},
    {'2', {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111}},
    {'3', {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110}},
    {'4', {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010}},
    {'5', {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110}},
    {'6', {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110}},
    {'7', {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000}},
    {'8', {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110}},
    {'9', {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100}},
    {' ', {0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b00000}},
    {'.', {0b00000, 0b00000, 0b00000, 0b00000, 0b00000, 0b01100, 0b01100}},
    {'-', {0b00000, 0b00000, 0b00000, 0b11111, 0b00000, 0b00000, 0b00000}},
    {'/', {0b00000, 0b00001, 0b00010, 0b00100, 0b01000, 0b10000, 0b00000}},
    {':', {0b00000, 0b01100, 0b01100, 0b00000, 0b01100, 0b01100, 0b00000}},
    {'(', {0b00010, 0b00100, 0b01000, 0b01000, 0b01000, 0b00100, 0b00010}},
    {')', {0b01000, 0b00100, 0b00010, 0b00010, 0b00010, 0b00100, 0b01000}},
    {'%', {0b11000, 0b11001, 0b00010, 0b00100, 0b01000, 0b10011, 0b00011}},
};

constexpr std::string_view kLegendCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .-/:()%";

constexpr Glyph kCaptionGlyphs[] = {
    {'A', {0b010, 0b101, 0b111, 0b101, 0b101}}, {'B', {0b110, 0b101, 0b110, 0b101, 0b110}},
    {'C', {0b011, 0b100, 0b100, 0b100, 0b011}}, {'D', {0b110, 0b101, 0b101, 0b101, 0b110}},
    {'E', {0b111, 0b100, 0b110, 0b100, 0b111}}, {'F', {0b111, 0b100, 0b110, 0b100, 0b100}},
    {'G', {0b011, 0b100, 0b101, 0b101, 0b011}}, {'H', {0b101, 0b101, 0b111, 0b101, 0b101}},
    {'I', {0b111, 0b010, 0b010, 0b010, 0b111}}, {'J', {0b001, 0b001, 0b001, 0b101, 0b010}},
    {'K', {0b101, 0b101, 0b110, 0b101, 0b101}}, {'L', {0b100, 0b100, 0b100, 0b100, 0b111}},
    {'M', {0b101, 0b111, 0b111, 0b101, 0b101}}, {'N', {0b110, 0b101, 0b101, 0b101, 0b101}},
    {'O', {0b010, 0b101, 0b101, 0b101, 0b010}}, {'P', {0b110, 0b101, 0b110, 0b100, 0b100}},
    {'Q', {0b010, 0b101, 0b101, 0b110, 0b011}}, {'R', {0b110, 0b101, 0b110, 0b101, 0b101}},
    {'S', {0b011, 0b100, 0b010, 0b001, 0b110}}, {'T', {0b111, 0b010, 0b010, 0b010, 0b010}},
    {'U', {0b101, 0b101, 0b101, 0b101, 0b111}}, {'V', {0b101, 0b101, 0b101, 0b101, 0b010}},
    {'W', {0b101, 0b101, 0b111, 0b111, 0b101}}, {'X', {0b101, 0b101, 0b010, 0b101, 0b101}},
    {'Y', {0b101, 0b101, 0b010, 0b010, 0b010}}, {'Z', {0b111, 0b001, 0b010, 0b100, 0b111}},
    {'0', {0b111, 0b101, 0b101, 0b101, 0b111}}, {'1', {0b010, 0b110, 0b010, 0b010, 0b111}},
    {'2', {0b111, 0b001, 0b111, 0b100, 0b111}}, {'3', {0b111, 0b001, 0b111, 0b001, 0b111}},
    {'4', {0b101, 0b101, 0b111, 0b001, 0b001}}, {'5', {0b111, 0b100, 0b111, 0b001, 0b111}},
    {'6', {0b111, 0b100, 0b111, 0b101, 0b111}}, {'7', {0b111, 0b001, 0b001, 0b001, 0b001}},
    {'8', {0b111, 0b101, 0b111, 0b101, 0b111}}, {'9', {0b111, 0b101, 0b111, 0b001, 0b111}},
    {'.', {0b000, 0b000, 0b000, 0b000, 0b010}}, {':', {0b000, 0b010, 0b000, 0b010, 0b000}},
    {'-', {0b000, 0b000, 0b111, 0b000, 0b000}}, {'/', {0b001, 0b001, 0b010, 0b100, 0b100}},
    {'(', {0b010, 0b100, 0b100, 0b100, 0b010}}, {')', {0b010, 0b001, 0b001, 0b001, 0b010}},
    {'+', {0b000, 0b010, 0b111, 0b010, 0b000}}, {',', {0b000, 0b000, 0b000, 0b010, 0b100}},
};

constexpr std::string_view kCaptionCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:-/()+,";

// A glyph added or dropped must be added to or dropped from its characters
// too; each face lists its glyphs in that order, once each, within its width.
template <std::size_t N>
constexpr bool table_matches(const Glyph (&glyphs)[N], std::string_view characters, int width,
                             int height) {
  if (N != characters.size()) return false;
  for (std::size_t i = 0; i < N; ++i) {
    if (glyphs[i].ch != characters[i] || characters.find(characters[i]) != i) return false;
    for (std::size_t row = 0; row < kMaxGlyphRows; ++row) {
      const int limit = static_cast<int>(row) < height ? width : 0;
      if (glyphs[i].rows[row] >> limit != 0) return false;
    }
  }
  return true;
}
static_assert(table_matches(kLegendGlyphs, kLegendCharacters, 5, kLegendGlyphHeight));
static_assert(table_matches(kCaptionGlyphs, kCaptionCharacters, 3, kCaptionGlyphHeight));

constexpr FontFace kLegend{5, kLegendGlyphHeight, kLegendGlyphs};
constexpr FontFace kCaption{3, kCaptionGlyphHeight, kCaptionGlyphs};

}  // namespace

const FontFace& legend_face() {
  return kLegend;
}

const FontFace& caption_face() {
  return kCaption;
}

const Glyph* FontFace::find(char ch) const {
  for (const Glyph& g : glyphs) {
    if (g.ch == ch) return &g;
  }
  return nullptr;
}

void draw_text(Image& target, const FontFace& face, int64_t x, int64_t y, std::string_view text,
               Rgb colour, int scale) {
  int64_t left = x;
  for (char ch : text) {
    // Past the right edge nothing more can show; stopping also keeps the
    // coordinates small for any length of text.
    if (left >= target.width()) break;
    if (const Glyph* g = face.find(ch); g != nullptr) {
      for (int row = 0; row < face.height; ++row) {
        for (int column = 0; column < face.width; ++column) {
          if (!face.lit(*g, column, row)) continue;
          target.fill_rect(left + int64_t{column} * scale, y + int64_t{row} * scale, scale, scale,
                           colour);
        }
      }
    }
    left += int64_t{face.advance()} * scale;
  }
}

void draw_text_upwards(Image& target, const FontFace& face, int64_t x, int64_t y,
                       std::string_view text, Rgb colour, int scale) {
  const int64_t bottom = y + face.text_width(text, scale);
  int64_t along = 0;
  for (char ch : text) {
    if (const Glyph* g = face.find(ch); g != nullptr) {
      for (int row = 0; row < face.height; ++row) {
        for (int column = 0; column < face.width; ++column) {
          if (!face.lit(*g, column, row)) continue;
          // Glyph columns run up the picture, glyph rows to the right.
          target.fill_rect(x + int64_t{row} * scale, bottom - along - int64_t{column + 1} * scale,
                           scale, scale, colour);
        }
      }
    }
    along += int64_t{face.advance()} * scale;
  }
}

}  // namespace formats
