#include "formats/bmp_writer.h"

#include <cstddef>
#include <map>
#include <stdexcept>
#include <string>

#include "formats/format_error.h"

namespace formats {

namespace {

uint32_t row_stride(const Image& image, int bits_per_pixel) {
  return static_cast<uint32_t>(
      dib_row_stride(static_cast<uint32_t>(image.width()), static_cast<uint32_t>(bits_per_pixel)));
}

// Headers shared by every depth; palette_entries is zero for 24-bit files.
void put_bmp_headers(Bytes& out, const Image& image, int bits_per_pixel, uint32_t palette_entries) {
  const uint32_t pixel_offset = kBmpFileHeaderBytes + kDibInfoHeaderBytes + 4u * palette_entries;
  const uint32_t image_bytes =
      row_stride(image, bits_per_pixel) * static_cast<uint32_t>(image.height());

  put_tag(out, "BM");
  put_u32(out, pixel_offset + image_bytes);
  put_u16(out, 0);  // reserved
  put_u16(out, 0);  // reserved
  put_u32(out, pixel_offset);

  put_u32(out, kDibInfoHeaderBytes);
  put_i32(out, image.width());
  put_i32(out, image.height());  // positive: rows stored bottom-up
  put_u16(out, 1);               // planes
  put_u16(out, static_cast<uint16_t>(bits_per_pixel));
  put_u32(out, kBiRgb);
  put_u32(out, image_bytes);
  put_i32(out, kBmpPixelsPerMetre);
  put_i32(out, kBmpPixelsPerMetre);
  put_u32(out, palette_entries);  // colours used
  put_u32(out, 0);                // all colours important
}

}  // namespace

Bytes encode_bmp24(const Image& image) {
  const uint32_t stride = row_stride(image, 24);
  Bytes out;
  out.reserve(kBmpFileHeaderBytes + kDibInfoHeaderBytes +
              static_cast<std::size_t>(stride) * static_cast<std::size_t>(image.height()));
  put_bmp_headers(out, image, 24, 0);

  const uint32_t padding = stride - 3u * static_cast<uint32_t>(image.width());
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.at(x, y);
      put_u8(out, c.b);
      put_u8(out, c.g);
      put_u8(out, c.r);
    }
    for (uint32_t i = 0; i < padding; ++i) put_u8(out, 0);
  }
  return out;
}

namespace {

uint32_t colour_key(Rgb c) {
  return static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 | c.b;
}

struct Palette {
  std::vector<Rgb> colours;
  std::map<uint32_t, uint8_t> index;
};

Palette build_palette(const Image& image) {
  Palette p;
  p.colours.push_back({0, 0, 0});
  p.index.emplace(0u, 0);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.at(x, y);
      if (p.index.contains(colour_key(c))) continue;
      if (p.colours.size() == kBmpPaletteSize) {
        throw FormatError("the picture has more than " + std::to_string(kBmpPaletteSize) +
                          " colours, too many for an 8-bit bitmap");
      }
      p.index.emplace(colour_key(c), static_cast<uint8_t>(p.colours.size()));
      p.colours.push_back(c);
    }
  }
  return p;
}

}  // namespace

std::vector<Rgb> bmp8_palette(const Image& image) {
  return build_palette(image).colours;
}

Bytes encode_bmp8(const Image& image) {
  const Palette palette = build_palette(image);
  const uint32_t stride = row_stride(image, 8);
  Bytes out;
  out.reserve(kBmpFileHeaderBytes + kDibInfoHeaderBytes + 4u * kBmpPaletteSize +
              static_cast<std::size_t>(stride) * static_cast<std::size_t>(image.height()));
  put_bmp_headers(out, image, 8, kBmpPaletteSize);
  for (int i = 0; i < kBmpPaletteSize; ++i) {
    const Rgb c = static_cast<std::size_t>(i) < palette.colours.size()
                      ? palette.colours[static_cast<std::size_t>(i)]
                      : Rgb{};
    put_u8(out, c.b);
    put_u8(out, c.g);
    put_u8(out, c.r);
    put_u8(out, 0);
  }
  const uint32_t padding = stride - static_cast<uint32_t>(image.width());
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      put_u8(out, palette.index.at(colour_key(image.at(x, y))));
    }
    for (uint32_t i = 0; i < padding; ++i) put_u8(out, 0);
  }
  return out;
}

}  // namespace formats
