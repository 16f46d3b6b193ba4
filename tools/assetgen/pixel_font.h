#pragma once
// Our own 5x7 pixel font for lettering drawn into generated bitmaps: just the
// characters gauge legends need, so every glyph can be checked by eye.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace assetgen {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
// One blank column between neighbouring glyphs.
inline constexpr int kGlyphAdvance = kGlyphWidth + 1;

struct Glyph {
  char ch;
  // Top row first; bit 4 is the leftmost column, bit 0 the rightmost.
  std::array<uint8_t, kGlyphHeight> rows;

  bool lit(int column, int row) const {
    return (rows[static_cast<std::size_t>(row)] >> (kGlyphWidth - 1 - column) & 1u) != 0;
  }
};

// Every glyph the font has, in table order.
std::span<const Glyph> font_glyphs();

// nullptr when the font has no glyph for ch (lower case included).
const Glyph* find_glyph(char ch);

// The characters the font draws, for diagnostics.
std::string_view font_characters();

}  // namespace assetgen
