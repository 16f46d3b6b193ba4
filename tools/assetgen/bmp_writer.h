#pragma once
// Windows .bmp output. Other pixel depths (e.g. an 8-bit palettised writer)
// belong beside encode_bmp24 and share the header layout below.
#include <cstdint>

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

}  // namespace assetgen
