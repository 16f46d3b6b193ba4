#include "formats/dib_header.h"

#include "formats/byte_reader.h"

namespace formats {
namespace {

constexpr uint32_t kBitfieldMaskBytes = 12;

bool known_header_size(uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool known_bit_count(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::string check(const BitmapHeader& h, uint64_t data_size) {
  if (!known_header_size(h.header_size))
    return "header size " + std::to_string(h.header_size) + " is no BITMAPINFOHEADER";
  if (h.width <= 0) return "width " + std::to_string(h.width) + " is not positive";
  if (h.height == 0) return "height is zero";
  if (h.planes != 1) return "planes " + std::to_string(h.planes) + ", expected 1";
  if (!known_bit_count(h.bit_count)) return "bit count " + std::to_string(h.bit_count);
  if (h.bit_count <= 8 && h.colors_used > (1u << h.bit_count))
    return std::to_string(h.colors_used) + " palette colours for " + std::to_string(h.bit_count) +
           "-bit pixels";
  if (h.bit_count > 8 && h.colors_used > 256)
    return std::to_string(h.colors_used) + " palette colours";
  const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
  if (h.compression == kBiRle8 && h.bit_count != 8) return "RLE8 with other than 8-bit pixels";
  if (h.compression == kBiRle4 && h.bit_count != 4) return "RLE4 with other than 4-bit pixels";
  if (h.compression == kBiBitfields && h.bit_count != 16 && h.bit_count != 32)
    return "bit fields with other than 16- or 32-bit pixels";
  if (!rle && h.compression != kBiRgb && h.compression != kBiBitfields)
    return "compression " + std::to_string(h.compression);
  if (rle && h.height < 0) return "a top-down picture cannot be run-length encoded";

  uint64_t table = uint64_t{h.header_size} + uint64_t{h.palette_entries} * 4;
  if (h.compression == kBiBitfields && h.header_size == kDibInfoHeaderBytes)
    table += kBitfieldMaskBytes;
  if (table > data_size) return "the colour table runs past the resource";
  if (rle) return {};  // its length depends on the runs
  const uint64_t stride = dib_row_stride(static_cast<uint32_t>(h.width), h.bit_count);
  const uint64_t pixels = stride * h.abs_height();
  if (pixels > data_size - table) {
    return std::to_string(pixels) + " bytes of pixels declared, " +
           std::to_string(data_size - table) + " present";
  }
  return {};
}

}  // namespace

std::span<const uint8_t> bmp_file_dib(std::span<const uint8_t> file) {
  if (!ByteReader(file).has_tag(0, "BM") || file.size() < kBmpFileHeaderBytes) return {};
  return file.subspan(kBmpFileHeaderBytes);
}

BitmapHeader read_bitmap_header(std::span<const uint8_t> data) {
  BitmapHeader h;
  const ByteReader r(data);
  if (!r.fits(0, 4)) {
    h.error = "resource too short for a bitmap header";
    return h;
  }
  h.header_size = r.u32(0, "biSize");
  if (!r.fits(0, kDibInfoHeaderBytes)) {
    h.error = "resource too short for a bitmap header";
    return h;
  }
  h.width = r.i32(4, "biWidth");
  h.height = r.i32(8, "biHeight");
  h.planes = r.u16(12, "biPlanes");
  h.bit_count = r.u16(14, "biBitCount");
  h.compression = r.u32(16, "biCompression");
  h.colors_used = r.u32(32, "biClrUsed");
  if (h.colors_used != 0) {
    h.palette_entries = h.colors_used;
  } else if (h.bit_count >= 1 && h.bit_count <= 8) {
    h.palette_entries = 1u << h.bit_count;
  }
  h.error = check(h, data.size());
  return h;
}

}  // namespace formats
