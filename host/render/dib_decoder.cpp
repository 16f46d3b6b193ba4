#include "host/render/dib_decoder.h"

#include <string>

#include "host/host_error.h"

namespace host::render {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kMaxPalette = 256;

uint32_t u32_at(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t u16_at(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
int32_t i32_at(const uint8_t* p) {
  return static_cast<int32_t>(u32_at(p));  // two's complement, defined since C++20
}

[[noreturn]] void fail(const std::string& what) {
  throw HostError("bitmap: " + what);
}

struct Layout {
  int32_t width;
  int32_t height;  // rows, always positive here
  bool top_down;
  uint16_t bits;
  size_t header_bytes;
  uint32_t palette_entries;
};

Layout read_header(const uint8_t* data, size_t size) {
  if (size < kDibInfoHeaderBytes) {
    fail("truncated: " + std::to_string(size) + " bytes, less than the 40-byte info header");
  }
  Layout l{};
  l.header_bytes = u32_at(data);
  if (l.header_bytes < kDibInfoHeaderBytes || l.header_bytes > size) {
    fail("info header size " + std::to_string(l.header_bytes) + " is not usable");
  }
  l.width = i32_at(data + 4);
  const int32_t height = i32_at(data + 8);
  const uint16_t planes = u16_at(data + 12);
  l.bits = u16_at(data + 14);
  const uint32_t compression = u32_at(data + 16);
  const uint32_t colours_used = u32_at(data + 32);
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
  const Layout l = read_header(data, size);
  const size_t palette_bytes = size_t{4} * l.palette_entries;
  if (size - l.header_bytes < palette_bytes) {
    fail("truncated: the palette of " + std::to_string(l.palette_entries) +
         " entries does not fit");
  }
  const uint8_t* palette = data + l.header_bytes;
  const uint8_t* pixels = palette + palette_bytes;
  const size_t available = size - l.header_bytes - palette_bytes;
  const size_t stride = (static_cast<size_t>(l.width) * l.bits + 31) / 32 * 4;
  const size_t needed = stride * static_cast<size_t>(l.height);
  if (available < needed) {
    fail("truncated: " + std::to_string(available) + " bytes of pixels where " +
         std::to_string(needed) + " are needed");
  }

  Image image(l.width, l.height);
  for (int32_t row = 0; row < l.height; ++row) {
    const uint8_t* src = pixels + stride * static_cast<size_t>(row);
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
        const uint8_t* q = palette + size_t{4} * index;  // blue, green, red, unused
        image.set(x, y, Rgb{q[2], q[1], q[0]});
      }
    }
  }
  return image;
}

}  // namespace host::render
