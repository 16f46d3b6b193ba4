#include "bmp_writer.h"

#include <cstddef>

namespace assetgen {

namespace {

constexpr uint32_t kBiRgb = 0;

// Headers shared by every depth; palette_entries is zero for 24-bit files.
void put_bmp_headers(Bytes& out, const Image& image, int bits_per_pixel, uint32_t palette_entries) {
  const uint32_t pixel_offset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes + 4u * palette_entries;
  const uint32_t image_bytes =
      bmp_row_stride(image.width(), bits_per_pixel) * static_cast<uint32_t>(image.height());

  put_tag(out, "BM");
  put_u32(out, pixel_offset + image_bytes);
  put_u16(out, 0);  // reserved
  put_u16(out, 0);  // reserved
  put_u32(out, pixel_offset);

  put_u32(out, kBmpInfoHeaderBytes);
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
  const uint32_t stride = bmp_row_stride(image.width(), 24);
  Bytes out;
  out.reserve(kBmpFileHeaderBytes + kBmpInfoHeaderBytes +
              static_cast<std::size_t>(stride) * static_cast<std::size_t>(image.height()));
  put_bmp_headers(out, image, 24, 0);

  const uint32_t padding = stride - 3u * static_cast<uint32_t>(image.width());
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.pixel(x, y);
      put_u8(out, c.b);
      put_u8(out, c.g);
      put_u8(out, c.r);
    }
    for (uint32_t i = 0; i < padding; ++i) put_u8(out, 0);
  }
  return out;
}

}  // namespace assetgen
