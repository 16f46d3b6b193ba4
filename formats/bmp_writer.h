#pragma once
// Windows .bmp output, 24-bit or 8-bit palettised, sharing one header
// layout.
#include <cstdint>
#include <vector>

#include "formats/byte_writer.h"
#include "formats/dib_header.h"
#include "formats/image.h"

namespace formats {

// 72 dots per inch, the resolution paint programs assume for screen bitmaps.
inline constexpr int32_t kBmpPixelsPerMetre = 2835;

// A complete file: headers, then uncompressed BGR rows from the bottom up.
Bytes encode_bmp24(const Image& image);

inline constexpr int kBmpPaletteSize = 256;

// The same picture with one byte per pixel: a full 256-entry palette of
// B G R 0 quads (unused entries zero), then rows from the bottom up. Black is
// entry 0 whether used or not, as gauge pictures treat it as transparent;
// the other colours follow in the order they first appear, rows top to
// bottom, each left to right. Throws FormatError for more than 256
// colours.
Bytes encode_bmp8(const Image& image);

// The palette encode_bmp8 would write, black first, used entries only.
// Throws as encode_bmp8 does.
std::vector<Rgb> bmp8_palette(const Image& image);

}  // namespace formats
