// .bmp output, 24-bit and 8-bit palettised: header fields, row padding,
// pixel order and colours, the palette order the gauges rely on (black
// first) and the colour limit, checked against the bytes written out by hand.
#include "formats/bmp_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/format_error.h"
#include "tests/tools/assetgen/assetgen_test_support.h"

namespace {

using formats::encode_bmp24;
using formats::Image;
using formats::Rgb;
using namespace assetgen_test;

struct SizeCase {
  int width;
  int height;
  uint32_t stride;  // bytes per stored row, written out by hand
};

constexpr SizeCase kSizes[] = {
    {1, 1, 4},  {2, 1, 8},  {3, 1, 12},   {4, 1, 12}, {29, 1, 88},      {1, 3, 4},    {2, 3, 8},
    {3, 3, 12}, {4, 3, 12}, {29, 29, 88}, {5, 2, 16}, {4096, 1, 12288}, {1, 4096, 4},
};

std::string row_name(const SizeCase& c) {
  return std::to_string(c.width) + "x" + std::to_string(c.height);
}

TEST(Bmp24, HeadersDescribeUncompressedBottomUp24Bit) {
  for (const SizeCase& c : kSizes) {
    SCOPED_TRACE(row_name(c));
    const Bytes b = encode_bmp24(Image(c.width, c.height));
    const uint32_t image_bytes = c.stride * static_cast<uint32_t>(c.height);
    ASSERT_EQ(b.size(), 54u + image_bytes);
    EXPECT_EQ(tag(b, 0, 2), "BM");
    EXPECT_EQ(le32(b, 2), 54u + image_bytes) << "bfSize";
    EXPECT_EQ(le32(b, 6), 0u) << "bfReserved1/2";
    EXPECT_EQ(le32(b, 10), 54u) << "bfOffBits";
    EXPECT_EQ(le32(b, 14), 40u) << "biSize";
    EXPECT_EQ(le32(b, 18), static_cast<uint32_t>(c.width)) << "biWidth";
    EXPECT_EQ(le32(b, 22), static_cast<uint32_t>(c.height)) << "biHeight (positive)";
    EXPECT_EQ(le16(b, 26), 1u) << "biPlanes";
    EXPECT_EQ(le16(b, 28), 24u) << "biBitCount";
    EXPECT_EQ(le32(b, 30), 0u) << "biCompression";
    EXPECT_EQ(le32(b, 34), image_bytes) << "biSizeImage";
    EXPECT_EQ(le32(b, 38), 2835u) << "biXPelsPerMeter";
    EXPECT_EQ(le32(b, 42), 2835u) << "biYPelsPerMeter";
    EXPECT_EQ(le32(b, 46), 0u) << "biClrUsed";
    EXPECT_EQ(le32(b, 50), 0u) << "biClrImportant";
  }
}

// A colour that names its own position, so any misplaced byte shows.
Rgb position_colour(int x, int y) {
  return {static_cast<uint8_t>(1 + x), static_cast<uint8_t>(100 + y), static_cast<uint8_t>(200)};
}

TEST(Bmp24, RowsAreStoredBottomUpAsBgrWithZeroPadding) {
  for (const SizeCase& c : kSizes) {
    if (c.width > 64 || c.height > 64) continue;
    SCOPED_TRACE(row_name(c));
    Image image(c.width, c.height);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) image.set(x, y, position_colour(x, y));
    }
    const Bytes b = encode_bmp24(image);
    for (int y = 0; y < c.height; ++y) {
      const size_t row = 54 + static_cast<size_t>(c.height - 1 - y) * c.stride;
      for (int x = 0; x < c.width; ++x) {
        SCOPED_TRACE("pixel " + std::to_string(x) + "," + std::to_string(y));
        const Rgb want = position_colour(x, y);
        const size_t at = row + 3 * static_cast<size_t>(x);
        EXPECT_EQ(b.at(at), want.b);
        EXPECT_EQ(b.at(at + 1), want.g);
        EXPECT_EQ(b.at(at + 2), want.r);
      }
      for (size_t at = row + 3 * static_cast<size_t>(c.width); at < row + c.stride; ++at) {
        EXPECT_EQ(b.at(at), 0) << "padding byte " << at - row << " of row " << y;
      }
    }
  }
}

TEST(Bmp24, FillColourReachesEveryPixel) {
  struct FillCase {
    const char* name;
    Rgb colour;
  };
  const FillCase cases[] = {
      {"black", {0, 0, 0}},
      {"white", {255, 255, 255}},
      {"distinct channels", {10, 20, 30}},
  };
  for (const FillCase& f : cases) {
    SCOPED_TRACE(f.name);
    const Bytes b = encode_bmp24(Image(3, 2, f.colour));
    for (size_t row = 0; row < 2; ++row) {
      for (size_t x = 0; x < 3; ++x) {
        const size_t at = 54 + row * 12 + 3 * x;
        EXPECT_EQ(b.at(at), f.colour.b);
        EXPECT_EQ(b.at(at + 1), f.colour.g);
        EXPECT_EQ(b.at(at + 2), f.colour.r);
      }
      EXPECT_EQ(b.at(54 + row * 12 + 9), 0);
    }
  }
}

constexpr size_t kPixels = 14 + 40 + 4 * 256;

Rgb palette_entry(const Bytes& b, int i) {
  const size_t at = 54 + 4 * static_cast<size_t>(i);
  return {b.at(at + 2), b.at(at + 1), b.at(at)};
}

TEST(Bmp8, HeaderFields) {
  const Bytes b = formats::encode_bmp8(Image(3, 2, {9, 9, 9}));
  const struct {
    const char* name;
    size_t at;
    int bytes;
    uint32_t want;
  } fields[] = {
      {"file size", 2, 4, kPixels + size_t{4} * 2},
      {"reserved", 6, 4, 0},
      {"pixel offset", 10, 4, kPixels},
      {"info header size", 14, 4, 40},
      {"width", 18, 4, 3},
      {"height, positive for bottom-up rows", 22, 4, 2},
      {"planes", 26, 2, 1},
      {"bits per pixel", 28, 2, 8},
      {"no compression", 30, 4, 0},
      {"image size", 34, 4, 4 * 2},
      {"horizontal resolution", 38, 4, 2835},
      {"vertical resolution", 42, 4, 2835},
      {"colours used", 46, 4, 256},
      {"all colours important", 50, 4, 0},
  };
  EXPECT_EQ(tag(b, 0, 2), "BM");
  EXPECT_EQ(b.size(), kPixels + size_t{4} * 2);
  for (const auto& f : fields) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(f.bytes == 2 ? le16(b, f.at) : le32(b, f.at), f.want);
  }
}

TEST(Bmp8, PaletteIsBlackThenColoursInReadingOrder) {
  const Rgb red{200, 0, 0};
  const Rgb green{0, 150, 0};
  const Rgb blue{0, 0, 100};
  const Rgb white{255, 255, 255};
  const struct {
    const char* name;
    int width;
    int height;
    std::vector<Rgb> pixels;  // rows top to bottom
    std::vector<Rgb> palette;
    std::vector<uint8_t> stored;  // pixel bytes as written, bottom row first
  } cases[] = {
      {"black used in the middle",
       3,
       2,
       {red, {}, green, green, blue, red},
       {{}, red, green, blue},
       {2, 3, 1, 0, 1, 0, 2, 0}},
      {"black first even when unused", 2, 1, {white, white}, {{}, white}, {1, 1, 0, 0}},
      {"all black", 1, 2, {{}, {}}, {{}}, {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Image image(c.width, c.height);
    for (size_t i = 0; i < c.pixels.size(); ++i) {
      image.set(static_cast<int>(i) % c.width, static_cast<int>(i) / c.width, c.pixels[i]);
    }
    EXPECT_EQ(formats::bmp8_palette(image), c.palette);
    const Bytes b = formats::encode_bmp8(image);
    for (int i = 0; i < 256; ++i) {
      SCOPED_TRACE("entry " + std::to_string(i));
      const Rgb want = static_cast<size_t>(i) < c.palette.size() ? c.palette[i] : Rgb{};
      EXPECT_EQ(palette_entry(b, i), want);
      EXPECT_EQ(b.at(54 + 4 * static_cast<size_t>(i) + 3), 0) << "reserved byte";
    }
    EXPECT_EQ(Bytes(b.begin() + kPixels, b.end()), Bytes(c.stored.begin(), c.stored.end()));
  }
}

TEST(Bmp8, RowsArePaddedToFourBytes) {
  const struct {
    int width;
    size_t stride;
  } cases[] = {{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 8}, {50, 52}};
  for (const auto& c : cases) {
    SCOPED_TRACE("width " + std::to_string(c.width));
    // The top row in colour 1, the bottom one in colour 2.
    Image image(c.width, 2, {7, 7, 7});
    for (int x = 0; x < c.width; ++x) image.set(x, 1, {8, 8, 8});
    const Bytes b = formats::encode_bmp8(image);
    ASSERT_EQ(b.size(), kPixels + 2 * c.stride);
    EXPECT_EQ(le32(b, 34), 2 * c.stride);
    for (size_t row = 0; row < 2; ++row) {
      for (size_t i = 0; i < c.stride; ++i) {
        const uint8_t want = i < static_cast<size_t>(c.width) ? (row == 0 ? 2 : 1) : 0;
        ASSERT_EQ(b.at(kPixels + row * c.stride + i), want) << "row " << row << " byte " << i;
      }
    }
  }
}

// count colours besides black, which fills the rest of the picture.
Image with_colours(int count) {
  Image image(16, 17);
  for (int i = 0; i < count; ++i) {
    image.set(i % 16, i / 16, {static_cast<uint8_t>(i % 256), static_cast<uint8_t>(i / 256), 1});
  }
  return image;
}

TEST(Bmp8, AtMost256Colours) {
  const struct {
    const char* name;
    Image image;
    bool fits;
  } cases[] = {
      {"255 and black", with_colours(255), true},
      {"256 and black", with_colours(256), false},
      {"257 and black", with_colours(257), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.fits) {
      EXPECT_EQ(formats::bmp8_palette(c.image).size(), 256u);
      EXPECT_NO_THROW(formats::encode_bmp8(c.image));
    } else {
      EXPECT_THROW(formats::encode_bmp8(c.image), formats::FormatError);
    }
  }
}

}  // namespace
