// The radar altimeter pictures as the build made them from
// radalt/bitmaps/*.txt: what the panel relies on (marks on the needle's rays,
// the dead-zone mask, the see-through black around needles and overlays).
// Their sizes and depths are the manifest's (assetgen_manifest_test).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "image.h"
#include "module_pictures.h"

namespace {

using namespace assetgen_test;
using assetgen::Image;
using assetgen::Rgb;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr double kPivot = 151.0;  // both coordinates

constexpr uint32_t kBody = radalt::kBitmapBackground;
constexpr uint32_t kPointer = radalt::kBitmapHeightPointer;
constexpr uint32_t kDhMarker = radalt::kBitmapDhMarker;
constexpr uint32_t kDial = radalt::kBitmapFace;
constexpr uint32_t kMask = radalt::kBitmapBezelMask;
constexpr uint32_t kFlag = radalt::kBitmapOffFlag;
constexpr uint32_t kSelectOff = radalt::kBitmapSelectorOff;
constexpr uint32_t kSelectSet = radalt::kBitmapSelectorSet;
constexpr uint32_t kLamp = radalt::kBitmapDhLamp;

Image drawn(uint32_t id) {
  return assetgen_test::drawn(kRadalt, id);
}

// The dial's feet marks and the points the height needle's table gives them.
struct Mark {
  int feet;
  int x;
  int y;
};

constexpr Mark kMarks[] = {{0, 143, 27},    {50, 202, 39},   {100, 238, 64},  {200, 268, 111},
                           {300, 268, 191}, {400, 220, 253}, {500, 151, 273}, {1000, 117, 269},
                           {1500, 85, 256}, {2000, 58, 232}, {2500, 39, 204}};

double ray_angle(double x, double y) {
  return std::atan2(y - kPivot, x - kPivot);
}

// Angles spread evenly between the listed marks.
double angle_at(int feet) {
  for (std::size_t i = 0; i + 1 < std::size(kMarks); ++i) {
    const Mark& a = kMarks[i];
    const Mark& b = kMarks[i + 1];
    if (feet >= a.feet && feet <= b.feet) {
      const double from = ray_angle(a.x, a.y);
      const double to = ray_angle(b.x, b.y);
      return from + (to - from) * (feet - a.feet) / (b.feet - a.feet);
    }
  }
  return std::nan("");
}

int nearest(double v) {
  return static_cast<int>(std::floor(v + 0.5));  // callers keep v within the picture
}

// The pixel radius px from the pivot along angle, moved side px across it.
Rgb on_ray(const Image& image, double angle, double radius, double side = 0.0) {
  const double x = kPivot + radius * std::cos(angle) - side * std::sin(angle);
  const double y = kPivot + radius * std::sin(angle) + side * std::cos(angle);
  return image.at(nearest(x), nearest(y));
}

bool near_white(const Image& image, double angle, double radius) {
  for (double side : {-1.0, 0.0, 1.0}) {
    if (on_ray(image, angle, radius, side) == kWhite) return true;
  }
  return false;
}

TEST(RadaltDial, MajorMarksLieOnTheRaysThroughTheTablePoints) {
  const Image dial = drawn(kDial);
  for (const Mark& m : kMarks) {
    SCOPED_TRACE(std::to_string(m.feet) + " ft");
    const double angle = ray_angle(m.x, m.y);
    EXPECT_EQ(dial.at(m.x, m.y), kWhite) << "the table point itself";
    for (double radius : {116.0, 120.0, 124.0, 128.0}) {
      SCOPED_TRACE("radius " + std::to_string(radius));
      EXPECT_EQ(on_ray(dial, angle, radius), kWhite);
      EXPECT_NE(on_ray(dial, angle, radius, 4.0), kWhite) << "clockwise beside it";
      EXPECT_NE(on_ray(dial, angle, radius, -4.0), kWhite) << "anticlockwise beside it";
    }
    EXPECT_NE(on_ray(dial, angle, 134.0), kWhite) << "past the mark";
  }
}

TEST(RadaltDial, MinorMarksEvery10FtTo100And20FtTo500AreShorter) {
  const Image dial = drawn(kDial);
  std::vector<int> minor;
  for (int feet = 10; feet < 100; feet += 10) minor.push_back(feet);
  for (int feet = 120; feet < 500; feet += 20) minor.push_back(feet);
  for (int feet : minor) {
    if (feet == 50 || feet % 100 == 0) continue;
    SCOPED_TRACE(std::to_string(feet) + " ft");
    const double angle = angle_at(feet);
    EXPECT_TRUE(near_white(dial, angle, 123.0));
    EXPECT_TRUE(near_white(dial, angle, 129.0));
    EXPECT_FALSE(near_white(dial, angle, 116.0)) << "as long as a major mark";
  }
}

TEST(RadaltDial, FiguresStandInsideTheirMarks) {
  const Image dial = drawn(kDial);
  for (const Mark& m : kMarks) {
    if (m.feet == 50) continue;  // no figure
    SCOPED_TRACE(std::to_string(m.feet) + " ft");
    const double angle = ray_angle(m.x, m.y);
    int lit = 0;
    for (double radius = 88.0; radius <= 102.0; radius += 1.0) {
      for (double side = -6.0; side <= 6.0; side += 1.0) {
        lit += on_ray(dial, angle, radius, side) == kWhite;
      }
    }
    EXPECT_GT(lit, 20);
  }
}

TEST(RadaltDial, IsWhiteOnTransparentWithinTheMarks) {
  const Image dial = drawn(kDial);
  for (int y = 0; y < dial.height(); ++y) {
    for (int x = 0; x < dial.width(); ++x) {
      const Rgb c = dial.at(x, y);
      ASSERT_TRUE(c == kBlack || c == kWhite) << "at " << x << "," << y;
      if (c == kWhite) {
        ASSERT_LE(std::hypot(x - kPivot, y - kPivot), 132.0) << x << "," << y;
      }
    }
  }
}

TEST(RadaltMask, HidesTheParkedPointerAndNoMarkOrFigure) {
  const Image mask = drawn(kMask);
  const Image dial = drawn(kDial);
  EXPECT_NE(mask.at(28, 170), kBlack);
  // The parked pointer: 5 px wide from its hub (radius 8) to its tip.
  const double parked = ray_angle(28, 170);
  for (double radius = 9.0; radius <= 124.0; radius += 1.0) {
    for (double side : {-3.0, 0.0, 3.0}) {
      SCOPED_TRACE("radius " + std::to_string(radius) + " side " + std::to_string(side));
      EXPECT_NE(on_ray(mask, parked, radius, side), kBlack);
    }
  }
  const struct {
    const char* name;
    int x;
    int y;
  } open[] = {{"0 ft table point", 143, 27}, {"hub", 146, 151}, {"OFF flag window", 97, 95}};
  for (const auto& o : open) {
    SCOPED_TRACE(o.name);
    EXPECT_EQ(mask.at(o.x, o.y), kBlack);
  }
  EXPECT_LE(mask.height(), 204) << "the 2500 ft table point (39, 204) lies below the mask";
  for (int y = 0; y < mask.height(); ++y) {
    for (int x = 0; x < mask.width(); ++x) {
      if (mask.at(x, y) == kBlack) continue;
      ASSERT_NE(dial.at(x, y), kWhite) << "covers a mark or figure at " << x << "," << y;
      ASSERT_LE(std::hypot(x - kPivot, y - kPivot), 141.0)
          << "outside the dial at " << x << "," << y;
    }
  }
}

bool corner_pixel(const Image& image, int x, int y) {
  return (x < 24 || x >= image.width() - 24) && (y < 24 || y >= image.height() - 24);
}

TEST(RadaltPictures, TransparentBlackWhereThePanelShowsThrough) {
  const struct {
    const char* name;
    uint32_t picture;
    std::vector<std::pair<int, int>> clear;   // pure black
    std::vector<std::pair<int, int>> opaque;  // anything else
  } cases[] = {
      {"body corners",
       kBody,
       {{0, 0}, {301, 0}, {0, 301}, {301, 301}},
       {{151, 151}, {31, 232}, {1, 151}, {151, 300}}},
      {"pointer",
       kPointer,
       {{0, 0}, {124, 0}, {0, 48}, {124, 48}, {24, 34}, {124, 24}},
       {{24, 24}, {16, 24}, {60, 22}, {60, 26}, {100, 24}, {121, 24}}},
      {"DH marker", kDhMarker, {{0, 8}, {60, 8}, {0, 0}, {127, 16}}, {{120, 8}, {126, 8}}},
      {"lit lamp", kLamp, {{0, 0}, {19, 0}, {0, 19}, {19, 19}}, {{2, 9}, {9, 2}, {17, 10}}},
      {"selector at OFF", kSelectOff, {{0, 53}, {49, 0}, {31, 25}}, {{19, 8}}},
      {"selector at SET", kSelectSet, {{0, 53}, {49, 0}, {18, 37}}, {{12, 11}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Image image = drawn(c.picture);
    for (auto [x, y] : c.clear) EXPECT_EQ(image.at(x, y), kBlack) << x << "," << y;
    for (auto [x, y] : c.opaque) EXPECT_NE(image.at(x, y), kBlack) << x << "," << y;
  }
  // No holes in the body but its rounded corners, and none in the flag.
  const Image body = drawn(kBody);
  for (int y = 0; y < body.height(); ++y) {
    for (int x = 0; x < body.width(); ++x) {
      if (body.at(x, y) == kBlack) {
        ASSERT_TRUE(corner_pixel(body, x, y)) << x << "," << y;
      }
    }
  }
  const Image flag = drawn(kFlag);
  for (int y = 0; y < flag.height(); ++y) {
    for (int x = 0; x < flag.width(); ++x) ASSERT_NE(flag.at(x, y), kBlack) << x << "," << y;
  }
}

TEST(RadaltPictures, SelectorPointersAimAtTheirMarks) {
  // The knob centre (31, 232) in the pictures' own coordinates (drawn at
  // 24, 240), and the lettering each one points at.
  const double knob_x = 7.0;
  const double knob_y = -8.0;
  const struct {
    const char* name;
    uint32_t picture;
    double x;
    double y;
  } cases[] = {{"OFF", kSelectOff, 31, 25}, {"SET", kSelectSet, 18, 37}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Image image = drawn(c.picture);
    // The lit pixel farthest from the knob is the pointer's tip.
    double best = -1.0;
    double tip_x = 0.0;
    double tip_y = 0.0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const double d = std::hypot(x - knob_x, y - knob_y);
        if (image.at(x, y) != kBlack && d > best) {
          best = d;
          tip_x = x;
          tip_y = y;
        }
      }
    }
    const double aim = std::atan2(c.y - knob_y, c.x - knob_x);
    const double tip = std::atan2(tip_y - knob_y, tip_x - knob_x);
    EXPECT_LT(std::fabs(tip - aim), 6.0 * std::numbers::pi / 180.0);
    EXPECT_GT(best, 25.0) << "reaches past the knob's rim";
    EXPECT_LT(best, std::hypot(c.x - knob_x, c.y - knob_y) - 5.0) << "stops short of the letters";
  }
}

TEST(RadaltPictures, LampIsLetteredDhInNearBlack) {
  const Image lamp = drawn(kLamp);
  int letter = 0;
  for (int y = 0; y < lamp.height(); ++y) {
    for (int x = 0; x < lamp.width(); ++x) letter += lamp.at(x, y) == Rgb{12, 12, 12};
  }
  EXPECT_GT(letter, 20);
}

}  // namespace
