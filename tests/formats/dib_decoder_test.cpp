// Decoding the DIB of a BITMAP resource: depths, padding, row order, the
// palette, and every way the data can be wrong.
#include "formats/dib_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/format_error.h"

namespace {

using formats::decode_dib;
using formats::Image;
using formats::Rgb;
using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

struct Header {
  int32_t width;
  int32_t height;
  uint16_t bits;
  uint32_t colours_used = 0;
  uint32_t compression = 0;
  uint16_t planes = 1;
  uint32_t size = 40;
};

Bytes info_header(const Header& h) {
  Bytes b;
  put32(b, h.size);
  put32(b, static_cast<uint32_t>(h.width));
  put32(b, static_cast<uint32_t>(h.height));
  put16(b, h.planes);
  put16(b, h.bits);
  put32(b, h.compression);
  put32(b, 0);     // image size: may be 0 when uncompressed
  put32(b, 2835);  // pixels per metre
  put32(b, 2835);
  put32(b, h.colours_used);
  put32(b, 0);
  return b;
}

Bytes concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Palette entries as blue, green, red, unused.
Bytes palette(const std::vector<Rgb>& colours, size_t entries) {
  Bytes b;
  for (size_t i = 0; i < entries; ++i) {
    Rgb c = i < colours.size() ? colours[i] : Rgb{};
    b.insert(b.end(), {c.b, c.g, c.r, 0x77});
  }
  return b;
}

std::vector<Rgb> pixels_of(const Image& image) {
  std::vector<Rgb> out;
  for (int32_t y = 0; y < image.height(); ++y) {
    for (int32_t x = 0; x < image.width(); ++x) out.push_back(image.at(x, y));
  }
  return out;
}

constexpr Rgb kR{200, 10, 20}, kG{30, 220, 40}, kB{50, 60, 230}, kW{250, 251, 252}, kK{0, 0, 0},
    kY{240, 230, 5};

// Stored rows for a 3 x 2 24-bit picture: bottom row first, each row 9
// bytes of blue-green-red and 3 bytes of padding that must be ignored.
Bytes rows24_3x2() {
  return {kB.b, kB.g, kB.r, kW.b, kW.g, kW.r, kK.b, kK.g, kK.r, 0xee, 0xee, 0xee,
          kR.b, kR.g, kR.r, kG.b, kG.g, kG.r, kY.b, kY.g, kY.r, 0xee, 0xee, 0xee};
}

struct GoodCase {
  const char* name;
  Bytes dib;
  int32_t width;
  int32_t height;
  std::vector<Rgb> pixels;  // top row first
};

std::vector<GoodCase> good_cases() {
  const std::vector<Rgb> pal{kK, kR, kG, kB, kW};
  // 8-bit, 3 x 2: rows of 3 indexes padded to 4 bytes, bottom row first.
  const Bytes rows8 = {3, 4, 0, 0xee, 1, 2, 1, 0xee};
  return {
      {"24-bit bottom-up with padding",
       concat(info_header({3, 2, 24}), rows24_3x2()),
       3,
       2,
       {kR, kG, kY, kB, kW, kK}},
      {"24-bit top-down",
       concat(info_header({3, -2, 24}), rows24_3x2()),
       3,
       2,
       {kB, kW, kK, kR, kG, kY}},
      {"24-bit 4 wide needs no padding",
       concat(info_header({4, 1, 24}),
              Bytes{kR.b, kR.g, kR.r, kG.b, kG.g, kG.r, kB.b, kB.g, kB.r, kW.b, kW.g, kW.r}),
       4,
       1,
       {kR, kG, kB, kW}},
      {"8-bit, colours used 0 means 256",
       concat(concat(info_header({3, 2, 8, 0}), palette(pal, 256)), rows8),
       3,
       2,
       {kR, kG, kR, kB, kW, kK}},
      {"8-bit, a 5-entry palette",
       concat(concat(info_header({3, 2, 8, 5}), palette(pal, 5)), rows8),
       3,
       2,
       {kR, kG, kR, kB, kW, kK}},
      {"8-bit, a longer info header before the palette",
       concat(
           concat(concat(info_header({3, 2, 8, 5, 0, 1, 44}), Bytes{9, 9, 9, 9}), palette(pal, 5)),
           rows8),
       3,
       2,
       {kR, kG, kR, kB, kW, kK}},
  };
}

TEST(DibDecoder, DecodesTheSupportedLayouts) {
  for (const GoodCase& c : good_cases()) {
    SCOPED_TRACE(c.name);
    Image image = decode_dib(c.dib.data(), c.dib.size());
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
    EXPECT_EQ(pixels_of(image), c.pixels);
  }
}

struct BadCase {
  const char* name;
  Bytes dib;
  const char* message;  // part of the error
};

Bytes cut(const Bytes& b, size_t n) {
  return Bytes(b.begin(), b.begin() + static_cast<ptrdiff_t>(n));
}

std::vector<BadCase> bad_cases() {
  const Bytes good24 = concat(info_header({3, 2, 24}), rows24_3x2());
  const Bytes head8 = info_header({3, 2, 8, 4});
  const Bytes good8 = concat(concat(head8, palette({kK, kR, kG, kB}, 4)), Bytes(8, 1));
  Bytes beyond_palette = good8;
  beyond_palette[beyond_palette.size() - 3] = 4;  // a 4-entry palette has no colour 4
  return {
      {"empty", {}, "truncated"},
      {"shorter than the info header", cut(good24, 39), "truncated"},
      {"24-bit pixels one byte short", cut(good24, good24.size() - 1), "truncated"},
      {"24-bit without pixels", cut(good24, 40), "truncated"},
      {"8-bit palette cut", cut(good8, 40 + 15), "palette"},
      {"8-bit pixels one byte short", cut(good8, good8.size() - 1), "truncated"},
      {"8-bit index beyond the palette", beyond_palette, "palette"},
      {"16-bit", concat(info_header({2, 2, 16}), Bytes(8, 0)), "16-bit"},
      {"32-bit", concat(info_header({1, 1, 32}), Bytes(4, 0)), "32-bit"},
      {"4-bit", concat(concat(info_header({2, 2, 4, 2}), palette({}, 2)), Bytes(8, 0)), "4-bit"},
      {"1-bit", concat(concat(info_header({2, 2, 1, 2}), palette({}, 2)), Bytes(8, 0)), "1-bit"},
      {"run-length compressed",
       concat(concat(info_header({2, 2, 8, 2, 1}), palette({}, 2)), Bytes(8, 0)), "compression 1"},
      {"bit fields", concat(info_header({2, 2, 24, 0, 3}), Bytes(16, 0)), "compression 3"},
      {"two planes", concat(info_header({1, 1, 24, 0, 0, 2}), Bytes(4, 0)), "planes"},
      {"zero width", concat(info_header({0, 1, 24}), Bytes(4, 0)), "out of range"},
      {"zero height", concat(info_header({1, 0, 24}), Bytes(4, 0)), "out of range"},
      {"negative width", concat(info_header({-1, 1, 24}), Bytes(4, 0)), "out of range"},
      {"huge height", concat(info_header({1, 1 << 30, 24}), Bytes(4, 0)), "out of range"},
      {"most negative height", concat(info_header({1, INT32_MIN, 24}), Bytes(4, 0)),
       "out of range"},
      {"more than 256 colours", concat(info_header({1, 1, 8, 257}), Bytes(2000, 0)), "256"},
      {"a core header", concat(info_header({1, 1, 24, 0, 0, 1, 12}), Bytes(4, 0)),
       "header size 12"},
      {"a header larger than the data", concat(info_header({1, 1, 24, 0, 0, 1, 400}), Bytes(4, 0)),
       "header size 400"},
  };
}

TEST(DibDecoder, RejectsWhatItCannotDecodeWithTheReason) {
  for (const BadCase& c : bad_cases()) {
    SCOPED_TRACE(c.name);
    try {
      decode_dib(c.dib.data(), c.dib.size());
      ADD_FAILURE() << "decoded";
    } catch (const formats::FormatError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
