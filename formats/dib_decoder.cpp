#include "formats/dib_decoder.h"

#include <string>

#include "formats/byte_reader.h"
#include "formats/dib_header.h"
#include "formats/format_error.h"

namespace formats {
namespace {

constexpr uint32_t kMaxPalette = 256;

[[noreturn]] void fail(const std::string& what) {
  throw FormatError("bitmap: " + what);
}

struct Layout {
  int32_t width;
  int32_t height;  // rows, always positive here
  bool top_down;
  uint16_t bits;
  size_t header_bytes;
  uint32_t palette_entries;
};

Layout read_layout(const ByteReader& r) {
  if (r.size() < kDibInfoHeaderBytes) {
    fail("truncated: " + std::to_string(r.size()) + " bytes, less than the 40-byte info header");
  }
  Layout l{};
  l.header_bytes = r.u32(0, "biSize");
  if (l.header_bytes < kDibInfoHeaderBytes || l.header_bytes > r.size()) {
    fail("info header size " + std::to_string(l.header_bytes) + " is not usable");
  }
  l.width = r.i32(4, "biWidth");
  const int32_t height = r.i32(8, "biHeight");
  const uint16_t planes = r.u16(12, "biPlanes");
  l.bits = r.u16(14, "biBitCount");
  const uint32_t compression = r.u32(16, "biCompression");
  const uint32_t colours_used = r.u32(32, "biClrUsed");
  if (planes != 1) fail(std::to_string(planes) + " planes (only 1 is valid)");
  if (l.bits != 24 && l.bits != 8) {
    fail(std::to_string(l.bits) + "-bit pictures are not supported (only 24 and 8)");
  }
  if (compression != kBiRgb) {
    fail("compression " + std::to_string(compression) + " is not supported (only uncompressed)");
  }
  // The top of the height range is checked first so that negating it is safe.
  if (l.width < 1 || l.width > kMaxImageSide || height == 0 || height > kMaxImageSide ||
      height < -kMaxImageSide) {
    fail("size " + std::to_string(l.width) + " x " + std::to_string(height) + " is out of range");
  }
  l.top_down = height < 0;
  l.height = l.top_down ? -height : height;
  if (l.bits == 8) {
    if (colours_used > kMaxPalette) {
      fail(std::to_string(colours_used) + " palette entries, more than 256");
    }
    l.palette_entries = colours_used == 0 ? kMaxPalette : colours_used;
  }
  return l;
}

}  // namespace

Image decode_dib(const uint8_t* data, size_t size) {
  if (data == nullptr) size = 0;
  const ByteReader r({data, size});
  const Layout l = read_layout(r);
  const size_t palette_bytes = size_t{4} * l.palette_entries;
  if (size - l.header_bytes < palette_bytes) {
    fail("truncated: the palette of " + std::to_string(l.palette_entries) +
         " entries does not fit");
  }
  const size_t palette = l.header_bytes;
  const size_t pixels = palette + palette_bytes;
  const size_t available = size - pixels;
  const auto stride = static_cast<size_t>(dib_row_stride(static_cast<uint32_t>(l.width), l.bits));
  const size_t needed = stride * static_cast<size_t>(l.height);
  if (available < needed) {
    fail("truncated: " + std::to_string(available) + " bytes of pixels where " +
         std::to_string(needed) + " are needed");
  }

  Image image(l.width, l.height);
  for (int32_t row = 0; row < l.height; ++row) {
    const uint8_t* src = data + pixels + stride * static_cast<size_t>(row);
    const int32_t y = l.top_down ? row : l.height - 1 - row;
    for (int32_t x = 0; x < l.width; ++x) {
      if (l.bits == 24) {
        const uint8_t* p = src + size_t{3} * static_cast<size_t>(x);
        image.set(x, y, Rgb{p[2], p[1], p[0]});
      } else {
        const uint8_t index = src[x];
        if (index >= l.palette_entries) {
          fail("pixel " + std::to_string(x) + "," + std::to_string(y) + " uses colour " +
               std::to_string(index) + " of a " + std::to_string(l.palette_entries) +
               "-entry palette");
        }
        const uint8_t* q = data + palette + size_t{4} * index;  // blue, green, red, unused
        image.set(x, y, Rgb{q[2], q[1], q[0]});
      }
    }
  }
  return image;
}

}  // namespace formats
