#pragma once
// The header of a BITMAP resource (a device-independent bitmap without its
// file header), and whether the resource holds all the pixels it declares.
#include <cstdint>
#include <span>
#include <string>

namespace gaugeinspect {

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;

struct BitmapHeader {
  uint32_t header_size = 0;  // biSize
  int32_t width = 0;
  int32_t height = 0;  // negative for a top-down picture
  uint16_t planes = 0;
  uint16_t bit_count = 0;
  uint32_t compression = 0;
  uint32_t colors_used = 0;
  uint32_t palette_entries = 0;  // what the pixels index: colors_used, or the full 2^bits
  std::string error;             // empty when the header and pixel data are usable

  bool valid() const { return error.empty(); }
  uint32_t abs_height() const {
    return height < 0 ? 0u - static_cast<uint32_t>(height) : static_cast<uint32_t>(height);
  }
};

// Never throws: a resource too short to hold even the fields is reported in
// `error` with whatever fields could be read.
BitmapHeader read_bitmap_header(std::span<const uint8_t> data);

}  // namespace gaugeinspect
