#pragma once
// Windows .bmp output, 24-bit or 8-bit palettised, sharing one header
// layout.
#include <cstdint>
#include <vector>

#include "image.h"
#include "le_bytes.h"

namespace assetgen {

inline constexpr uint32_t kBmpFileHeaderBytes = 14;
inline constexpr uint32_t kBmpInfoHeaderBytes = 40;
// 72 dots per inch, the resolution paint programs assume for screen bitmaps.
inline constexpr int32_t kBmpPixelsPerMetre = 2835;

// Bytes in one stored row: rows are padded to a multiple of four bytes.
constexpr uint32_t bmp_row_stride(int width, int bits_per_pixel) {
  return ((static_cast<uint32_t>(width) * static_cast<uint32_t>(bits_per_pixel) + 31u) / 32u) * 4u;
}

// A complete file: headers, then uncompressed BGR rows from the bottom up.
Bytes encode_bmp24(const Image& image);

inline constexpr int kBmpPaletteSize = 256;

// The same picture with one byte per pixel: a full 256-entry palette of
// B G R 0 quads (unused entries zero), then rows from the bottom up. Black is
// entry 0 whether used or not, as gauge pictures treat it as transparent;
// the other colours follow in the order they first appear, rows top to
// bottom, each left to right. Throws std::invalid_argument for more than
// 256 colours.
Bytes encode_bmp8(const Image& image);

// The palette encode_bmp8 would write, black first, used entries only.
// Throws as encode_bmp8 does.
std::vector<Rgb> bmp8_palette(const Image& image);

}  // namespace assetgen
