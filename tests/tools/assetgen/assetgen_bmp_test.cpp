// 24-bit BMP output: header fields, row padding, pixel order and colours.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "assetgen_test_support.h"
#include "formats/bmp_writer.h"
#include "image.h"

namespace {

using assetgen::Image;
using assetgen::Rgb;
using formats::encode_bmp24;
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

TEST(AssetgenBmp, HeadersDescribeUncompressedBottomUp24Bit) {
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

TEST(AssetgenBmp, RowsAreStoredBottomUpAsBgrWithZeroPadding) {
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

TEST(AssetgenBmp, FillColourReachesEveryPixel) {
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

TEST(AssetgenImage, RejectsSidesOutsideTheSupportedRange) {
  const struct {
    int width;
    int height;
  } bad[] = {{0, 1}, {1, 0}, {-1, 5}, {4097, 1}, {1, 4097}};
  for (const auto& c : bad) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_THROW(assetgen::new_canvas(c.width, c.height), std::invalid_argument);
  }
  EXPECT_NO_THROW(assetgen::new_canvas(4096, 1));
}

TEST(AssetgenImage, SetClipsOutsideThePicture) {
  Image image(2, 2, {1, 1, 1});
  const Rgb mark{9, 9, 9};
  for (const auto& [x, y] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {0, 2}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    image.set(x, y, mark);
  }
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) EXPECT_EQ(image.at(x, y), (Rgb{1, 1, 1}));
  }
  image.set(1, 0, mark);
  EXPECT_EQ(image.at(1, 0), mark);
  image.fill(mark);
  EXPECT_EQ(image.at(0, 1), mark);
}

}  // namespace
