#pragma once
// The one pixel font, in two sizes: 5 x 7 legend lettering for the gauges'
// generated bitmaps, and 3 x 5 captions and labels for the host's pictures
// (contact sheets, the envelope map). Each glyph is a few rows of bits, so
// every one can be checked by eye.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "formats/image.h"

namespace formats {

inline constexpr int kMaxGlyphRows = 7;
inline constexpr int kLegendGlyphHeight = 7;
inline constexpr int kCaptionGlyphHeight = 5;

struct Glyph {
  char ch;
  // Top row first; the leftmost column is the face's highest bit.
  std::array<uint8_t, kMaxGlyphRows> rows;
};

struct FontFace {
  int width;   // columns of a glyph
  int height;  // rows of a glyph
  std::span<const Glyph> glyphs;

  // One blank column between neighbouring glyphs.
  int advance() const { return width + 1; }
  // nullptr when the face has no glyph for ch (lower case included).
  const Glyph* find(char ch) const;
  bool lit(const Glyph& g, int column, int row) const {
    return (g.rows[static_cast<std::size_t>(row)] >> (width - 1 - column) & 1u) != 0;
  }
  // Width in pixels of text with each glyph pixel `scale` wide; 0 when empty.
  int64_t text_width(std::string_view text, int scale) const {
    return text.empty() ? 0 : (static_cast<int64_t>(text.size()) * advance() - 1) * scale;
  }
};

// Capital letters, digits, space and . - / : ( ) %.
const FontFace& legend_face();
// Digits, capital letters and . : - / ( ) + , (no space: it draws nothing).
const FontFace& caption_face();

// Lit glyph pixels only, each a `scale` x `scale` square, clipped to the
// picture; (x, y) is the top-left of the first glyph. A character the face
// lacks leaves a blank cell.
void draw_text(Image& target, const FontFace& face, int64_t x, int64_t y, std::string_view text,
               Rgb colour, int scale);

// The same text turned a quarter left (reading upwards), its first glyph at
// the bottom of the box whose top-left corner is (x, y).
void draw_text_upwards(Image& target, const FontFace& face, int64_t x, int64_t y,
                       std::string_view text, Rgb colour, int scale);

}  // namespace formats
