// .bmp files written by the format library read back through the host's
// decoder to the same pixels, at both depths and every row padding.
#include <gtest/gtest.h>

#include <string>

#include "formats/bmp_writer.h"
#include "formats/dib_decoder.h"
#include "formats/dib_header.h"

namespace {

using formats::Bytes;
using formats::Image;
using formats::Rgb;

// A picture whose every pixel differs from its neighbours, with `colours`
// distinct colours at most.
Image pattern(int32_t width, int32_t height, int colours) {
  Image image(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const int n = (x * 7 + y * 13) % colours;
      image.set(x, y,
                Rgb{static_cast<uint8_t>(n * 3), static_cast<uint8_t>(255 - n),
                    static_cast<uint8_t>(n * 11)});
    }
  }
  return image;
}

TEST(BmpRoundTrip, EveryDepthAndPaddingReadsBackThePixels) {
  struct Row {
    int32_t width, height;
    int colours;
  };
  const Row kRows[] = {{1, 1, 1}, {2, 3, 5}, {3, 2, 6}, {5, 4, 17}, {29, 29, 200}, {43, 23, 255}};
  for (const Row& row : kRows) {
    const Image image = pattern(row.width, row.height, row.colours);
    for (int bits : {24, 8}) {
      SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height) + ", " +
                   std::to_string(bits) + " bits");
      const Bytes file = bits == 24 ? formats::encode_bmp24(image) : formats::encode_bmp8(image);
      const auto dib = formats::bmp_file_dib(file);
      ASSERT_FALSE(dib.empty());
      const formats::BitmapHeader h = formats::read_bitmap_header(dib);
      EXPECT_TRUE(h.valid()) << h.error;
      EXPECT_EQ(h.bit_count, bits);
      const Image back = formats::decode_dib(dib.data(), dib.size());
      ASSERT_EQ(back.width(), image.width());
      ASSERT_EQ(back.height(), image.height());
      for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
          ASSERT_EQ(back.at(x, y), image.at(x, y)) << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
