#pragma once
// The BITMAPINFOHEADER that starts a device-independent bitmap (a BITMAP
// resource, or a .bmp file after its 14-byte file header), and whether the
// bytes hold all the colours and pixels it declares.
#include <cstdint>
#include <span>
#include <string>

namespace formats {

inline constexpr uint32_t kBmpFileHeaderBytes = 14;
inline constexpr uint32_t kDibInfoHeaderBytes = 40;

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;

// Bytes in one stored row: rows are padded to a multiple of four bytes.
constexpr uint64_t dib_row_stride(uint64_t width, uint64_t bits_per_pixel) {
  return (width * bits_per_pixel + 31u) / 32u * 4u;
}

struct BitmapHeader {
  uint32_t header_size = 0;      // biSize
  int32_t width = 0;             // biWidth
  int32_t height = 0;            // biHeight: negative for a top-down picture
  uint16_t planes = 0;           // biPlanes
  uint16_t bit_count = 0;        // biBitCount
  uint32_t compression = 0;      // biCompression
  uint32_t colors_used = 0;      // biClrUsed
  uint32_t palette_entries = 0;  // what the pixels index: colors_used, or the full 2^bits
  std::string error;             // empty when the header and pixel data are usable

  bool valid() const { return error.empty(); }
  uint32_t abs_height() const {
    return height < 0 ? 0u - static_cast<uint32_t>(height) : static_cast<uint32_t>(height);
  }
};

// The device-independent bitmap inside a .bmp file: what follows its 14-byte
// file header. Empty when the bytes do not start as a .bmp file ("BM").
std::span<const uint8_t> bmp_file_dib(std::span<const uint8_t> file);

// Every header size, depth and compression Windows defines is accepted.
// Never throws: bytes too short to hold even the fields are reported in
// `error` with whatever fields could be read. The messages speak of a
// resource, where the inspector finds these.
BitmapHeader read_bitmap_header(std::span<const uint8_t> dib);

}  // namespace formats
