// The GPWS lamp pictures (INOP, BELOW GS, FLAP INHIBIT and the blank lamp)
// as the build made them from gpws/bitmaps/*.txt: the properties the panel
// relies on. Their sizes and depths are the manifest's (assetgen_manifest_test).
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
using namespace gpws;

constexpr Rgb kTransparent{0, 0, 0};
// Every lamp background is the same square.
constexpr int kSide = frame::bitmap_entry(kBitmaps, kBitmapInopBackground).width;

struct Box {
  int x;
  int y;
  int w;
  int h;
  bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// The unlit backgrounds and the face each one shows inside its bezel.
struct Background {
  uint32_t id;
  Box face;
};

constexpr Background kBackgrounds[] = {
    {kBitmapInopBackground, {6, 5, 34, 35}},
    {kBitmapBelowBackground, {6, 5, 34, 35}},
    {kBitmapFiBackground, {4, 4, 37, 38}},
    {kBitmapBlankBackground, {6, 5, 34, 35}},
};

// A lit face and the background the panel draws it on, with the colour of
// the lettering in each.
struct Lamp {
  uint32_t unlit;
  uint32_t lit;
  int x;  // where the lit face goes on the background
  int y;
  Rgb unlit_letters;
  Rgb lit_letters;
  int min_letter_pixels;  // two words of 5x7 lettering at the least
};

constexpr Lamp kLamps[] = {
    {kBitmapInopBackground, kBitmapInopLit, 6, 5, {104, 100, 52}, {240, 196, 0}, 60},
    {kBitmapBelowBackground, kBitmapBelowLit, 6, 5, {104, 100, 52}, {240, 196, 0}, 60},
    {kBitmapFiBackground, kBitmapFiLit, 4, 4, {16, 16, 16}, {16, 16, 16}, 100},
};

std::optional<Image> generated(uint32_t id) {
  return assetgen_test::generated(kGpws, id);
}

std::string name(uint32_t id) {
  return entry(kGpws, id).name;
}

Box face_of(uint32_t background) {
  for (const Background& b : kBackgrounds) {
    if (b.id == background) return b.face;
  }
  ADD_FAILURE() << "no face listed for " << background;
  return {};
}

int brightness(Rgb c) {
  return c.r + c.g + c.b;
}

bool on_outer_ring(int x, int y) {
  return x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
}

// Which corner's 3 x 3 block a pixel lies in: 0..3, or -1 for none.
int corner_block(int x, int y) {
  const bool left = x < 3;
  const bool right = x >= kSide - 3;
  const bool top = y < 3;
  const bool bottom = y >= kSide - 3;
  if (top && left) return 0;
  if (top && right) return 1;
  if (bottom && left) return 2;
  if (bottom && right) return 3;
  return -1;
}

TEST(GpwsLampPictures, BackgroundsAreTransparentOnlyInTheRoundedOutline) {
  for (const Background& b : kBackgrounds) {
    SCOPED_TRACE(name(b.id));
    const std::optional<Image> got = generated(b.id);
    ASSERT_TRUE(got.has_value());
    ASSERT_EQ(got->width(), kSide);
    ASSERT_EQ(got->height(), kSide);
    int transparent = 0;
    int per_corner[4] = {};
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const bool clear = got->at(x, y) == kTransparent;
        transparent += clear;
        // The whole outer ring lets the panel through ...
        if (on_outer_ring(x, y)) {
          EXPECT_TRUE(clear) << "opaque ring pixel at " << x << "," << y;
          continue;
        }
        if (!clear) continue;
        // ... and inside it only the rounding of the corners does.
        const int corner = corner_block(x, y);
        EXPECT_NE(corner, -1) << "transparent pixel inside the lamp at " << x << "," << y;
        EXPECT_FALSE(b.face.contains(x, y)) << "transparent pixel in the face at " << x << "," << y;
        if (corner >= 0) ++per_corner[corner];
      }
    }
    EXPECT_EQ(transparent, 4 * (kSide - 1) + 4 * 3) << "the ring and 3 more at each corner";
    for (int corner = 0; corner < 4; ++corner) {
      SCOPED_TRACE("corner " + std::to_string(corner));
      EXPECT_EQ(per_corner[corner], 3);
    }
    // The rounding is the same at all four corners.
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const bool clear = got->at(x, y) == kTransparent;
        EXPECT_EQ(clear, got->at(kSide - 1 - x, y) == kTransparent) << "at " << x << "," << y;
        EXPECT_EQ(clear, got->at(x, kSide - 1 - y) == kTransparent) << "at " << x << "," << y;
      }
    }
  }
}

TEST(GpwsLampPictures, LitFacesHaveNoTransparentPixel) {
  for (const Lamp& lamp : kLamps) {
    SCOPED_TRACE(name(lamp.lit));
    const std::optional<Image> lit = generated(lamp.lit);
    ASSERT_TRUE(lit.has_value());
    for (int y = 0; y < lit->height(); ++y) {
      for (int x = 0; x < lit->width(); ++x) {
        ASSERT_NE(lit->at(x, y), kTransparent) << "at " << x << "," << y;
      }
    }
  }
}

TEST(GpwsLampPictures, LitFacesCoverTheUnlitFaceAndAreBrighter) {
  for (const Lamp& lamp : kLamps) {
    SCOPED_TRACE(name(lamp.lit));
    const std::optional<Image> unlit = generated(lamp.unlit);
    const std::optional<Image> lit = generated(lamp.lit);
    ASSERT_TRUE(unlit.has_value());
    ASSERT_TRUE(lit.has_value());
    const Box face = face_of(lamp.unlit);
    EXPECT_LE(lamp.x, face.x);
    EXPECT_LE(lamp.y, face.y);
    EXPECT_GE(lamp.x + lit->width(), face.x + face.w);
    EXPECT_GE(lamp.y + lit->height(), face.y + face.h);
    ASSERT_LE(lamp.x + lit->width(), unlit->width());
    ASSERT_LE(lamp.y + lit->height(), unlit->height());
    // Summed over the area it covers, lighting makes the lamp at least half
    // as bright again.
    int64_t lit_sum = 0;
    int64_t unlit_sum = 0;
    for (int y = 0; y < lit->height(); ++y) {
      for (int x = 0; x < lit->width(); ++x) {
        lit_sum += brightness(lit->at(x, y));
        unlit_sum += brightness(unlit->at(lamp.x + x, lamp.y + y));
      }
    }
    EXPECT_GT(2 * lit_sum, 3 * unlit_sum);
  }
}

TEST(GpwsLampPictures, LetteringStaysInPlaceWhenTheLampLights) {
  for (const Lamp& lamp : kLamps) {
    SCOPED_TRACE(name(lamp.lit));
    const std::optional<Image> unlit = generated(lamp.unlit);
    const std::optional<Image> lit = generated(lamp.lit);
    ASSERT_TRUE(unlit.has_value());
    ASSERT_TRUE(lit.has_value());
    // All of the unlit lettering lies where the lit face goes.
    int unlit_letter_pixels = 0;
    for (int y = 0; y < unlit->height(); ++y) {
      for (int x = 0; x < unlit->width(); ++x) {
        if (unlit->at(x, y) != lamp.unlit_letters) continue;
        ++unlit_letter_pixels;
        EXPECT_TRUE((Box{lamp.x, lamp.y, lit->width(), lit->height()}.contains(x, y)))
            << "lettering left uncovered at " << x << "," << y;
      }
    }
    EXPECT_GE(unlit_letter_pixels, lamp.min_letter_pixels);
    // The lit lettering falls on exactly the same pixels.
    int lit_letter_pixels = 0;
    for (int y = 0; y < lit->height(); ++y) {
      for (int x = 0; x < lit->width(); ++x) {
        const bool lit_letter = lit->at(x, y) == lamp.lit_letters;
        lit_letter_pixels += lit_letter;
        ASSERT_EQ(lit_letter, unlit->at(lamp.x + x, lamp.y + y) == lamp.unlit_letters)
            << "at " << x << "," << y << " of the lit face";
      }
    }
    EXPECT_EQ(lit_letter_pixels, unlit_letter_pixels);
  }
}

TEST(GpwsLampPictures, LettersAreSetApartWithinTheFace) {
  // Each word stays legible: its letters are separate strokes with at least
  // one clear column between them, and none of it is on the face's rim.
  struct Row {
    uint32_t lamp;
    int y;  // top row of the word on the background
    int letters;
  };
  constexpr Row kRows[] = {
      {kBitmapInopBackground, 13, 4},  {kBitmapInopBackground, 25, 4},
      {kBitmapBelowBackground, 13, 5}, {kBitmapBelowBackground, 25, 2},
      {kBitmapFiBackground, 13, 4},    {kBitmapFiBackground, 25, 7},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(name(row.lamp) + " row " + std::to_string(row.y));
    const Lamp* lamp = nullptr;
    for (const Lamp& l : kLamps) {
      if (l.unlit == row.lamp) lamp = &l;
    }
    ASSERT_NE(lamp, nullptr);
    const std::optional<Image> unlit = generated(row.lamp);
    ASSERT_TRUE(unlit.has_value());
    const Box face = face_of(row.lamp);
    // Runs of columns holding lettering within the word's seven rows.
    int runs = 0;
    bool in_run = false;
    int first = -1;
    int last = -1;
    for (int x = 0; x < unlit->width(); ++x) {
      bool inked = false;
      for (int y = row.y; y < row.y + 7; ++y) inked |= unlit->at(x, y) == lamp->unlit_letters;
      if (inked && !in_run) ++runs;
      in_run = inked;
      if (inked) {
        if (first < 0) first = x;
        last = x;
      }
    }
    EXPECT_EQ(runs, row.letters);
    EXPECT_GT(first, face.x);
    EXPECT_LT(last, face.x + face.w - 1);
  }
}

TEST(GpwsLampPictures, BlankLampIsTheInopLampWithoutLettering) {
  const std::optional<Image> blank = generated(kBitmapBlankBackground);
  const std::optional<Image> inop = generated(kBitmapInopBackground);
  ASSERT_TRUE(blank.has_value());
  ASSERT_TRUE(inop.has_value());
  const Rgb letters = kLamps[0].unlit_letters;
  int differing = 0;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      EXPECT_NE(blank->at(x, y), letters) << "lettering on the blank lamp at " << x << "," << y;
      if (inop->at(x, y) == letters) {
        ++differing;
      } else {
        EXPECT_EQ(blank->at(x, y), inop->at(x, y)) << "at " << x << "," << y;
      }
    }
  }
  EXPECT_GT(differing, 0);
}

TEST(GpwsLampPictures, AllLampsShareOneBezel) {
  // Outside the largest face and its recess the backgrounds are identical.
  constexpr Box kFaces{3, 3, 39, 40};
  const std::optional<Image> reference = generated(kBackgrounds[0].id);
  ASSERT_TRUE(reference.has_value());
  for (const Background& b : kBackgrounds) {
    SCOPED_TRACE(name(b.id));
    const std::optional<Image> got = generated(b.id);
    ASSERT_TRUE(got.has_value());
    ASSERT_EQ(got->width(), kSide);
    ASSERT_EQ(got->height(), kSide);
    ASSERT_TRUE(got.has_value());
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        if (kFaces.contains(x, y)) continue;
        ASSERT_EQ(got->at(x, y), reference->at(x, y)) << "at " << x << "," << y;
      }
    }
  }
}

}  // namespace
