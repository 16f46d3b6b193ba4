#pragma once
// A 3 x 5 pixel font for picture captions: digits, F, T, '.', ':', '-' and
// space; other characters draw as nothing.
#include <cstdint>
#include <string_view>

#include "host/render/image.h"

namespace host::render {

inline constexpr int32_t kGlyphWidth = 3;
inline constexpr int32_t kGlyphHeight = 5;

// Each glyph pixel drawn as a `scale` x `scale` square, one column between
// glyphs; clipped to the picture.
void draw_text(Image& target, int32_t x, int32_t y, std::string_view text, Rgb colour,
               int32_t scale = 1);
int32_t text_width(std::string_view text, int32_t scale = 1);

}  // namespace host::render
