// The pictures assetgen paints into: the sides it accepts and clipping.
// (The .bmp bytes are checked in tests/formats/bmp_writer_test.cpp.)
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "assetgen_test_support.h"
#include "image.h"

namespace {

using assetgen::Image;
using assetgen::Rgb;
using namespace assetgen_test;

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
