// The GPWS test button pictures as the build made them from
// gpws/bitmaps/*.txt: the properties the panel relies on. Their sizes and
// depths are the manifest's (assetgen_manifest_test).
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "image.h"
#include "module_pictures.h"

namespace {

using namespace assetgen_test;
using assetgen::Image;
using assetgen::Rgb;

struct Picture {
  uint32_t id;
  int x;  // where the panel draws it over the unlit button
  int y;
};

constexpr Picture kUnlit{gpws::kBitmapTestButton, 0, 0};
constexpr Picture kPictures[] = {
    kUnlit, {gpws::kBitmapTestWarningLens, 6, 6}, {gpws::kBitmapTestSelfTestLens, 5, 5}};

std::optional<Image> generated(const Picture& p) {
  return assetgen_test::generated(kGpws, p.id);
}

std::string name(const Picture& p) {
  return entry(kGpws, p.id).name;
}

TEST(GpwsButtonPictures, HaveNoTransparentPixel) {
  // Pure black is see-through on the panel: a hole in a button or lens.
  for (const Picture& p : kPictures) {
    SCOPED_TRACE(name(p));
    const std::optional<Image> got = generated(p);
    ASSERT_TRUE(got.has_value());
    for (int y = 0; y < got->height(); ++y) {
      for (int x = 0; x < got->width(); ++x) {
        ASSERT_NE(got->at(x, y), (Rgb{0, 0, 0})) << "at " << x << "," << y;
      }
    }
  }
}

bool is_lettering(Rgb c) {
  return c == Rgb{16, 16, 16} || c == Rgb{255, 255, 255};
}

TEST(GpwsButtonPictures, LitLensesCoverTheUnlitLensAndKeepTheLettering) {
  const std::optional<Image> unlit = generated(kUnlit);
  ASSERT_TRUE(unlit.has_value());
  int unlit_letter_pixels = 0;
  for (int y = 0; y < unlit->height(); ++y) {
    for (int x = 0; x < unlit->width(); ++x) unlit_letter_pixels += is_lettering(unlit->at(x, y));
  }
  EXPECT_GT(unlit_letter_pixels, 100) << "four words of lettering";

  for (const Picture& p : kPictures) {
    if (p.x == 0 && p.y == 0) continue;
    SCOPED_TRACE(name(p));
    const std::optional<Image> lit = generated(p);
    ASSERT_TRUE(lit.has_value());
    ASSERT_LE(p.x + lit->width(), unlit->width());
    ASSERT_LE(p.y + lit->height(), unlit->height());
    // The lens of the unlit button is 34 x 34 at (6, 6); all of it is hidden.
    EXPECT_LE(p.x, 6);
    EXPECT_LE(p.y, 6);
    EXPECT_GE(p.x + lit->width(), 40);
    EXPECT_GE(p.y + lit->height(), 40);
    // Lettering does not jump when the lamp lights.
    int letter_pixels = 0;
    for (int y = 0; y < lit->height(); ++y) {
      for (int x = 0; x < lit->width(); ++x) {
        const bool lit_letter = is_lettering(lit->at(x, y));
        letter_pixels += lit_letter;
        ASSERT_EQ(lit_letter, is_lettering(unlit->at(p.x + x, p.y + y))) << "at " << x << "," << y;
        if (lit_letter) {
          EXPECT_EQ(lit->at(x, y), unlit->at(p.x + x, p.y + y));
        }
      }
    }
    EXPECT_EQ(letter_pixels, unlit_letter_pixels);
  }
}

}  // namespace
