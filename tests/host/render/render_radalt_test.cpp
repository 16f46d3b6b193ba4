// The real radar altimeter drawn through the host: the pointer lies on the
// ray towards its table's point, the DH lamp shows only when lit, and black
// in the overlays leaves what is below. The checks hold whatever the
// pictures look like: expected colours come from the module's own pictures
// or from pictures given here.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/render/gauge_renderer.h"
#include "host/render/needle_angle.h"
#include "radalt/needle_tables.h"
#include "radalt/radalt_bitmaps.h"
#include "radalt_fixture.h"

namespace {

using host::render::BitmapLibrary;
using host::render::Image;
using host::render::Rgb;
using namespace radalt_test;

constexpr int32_t kPivot = 151;
constexpr uint32_t kPointerPicture = radalt::kBitmapHeightPointer;
constexpr int32_t kPointerHub = 24;  // the pointer picture's pivot, x and y
constexpr uint32_t kLampPicture = radalt::kBitmapDhLamp;
constexpr int32_t kLampX = 215, kLampY = 130;
constexpr int32_t kLampSide = frame::bitmap_entry(radalt::kBitmaps, kLampPicture).width;
constexpr Rgb kMarker{255, 0, 255};  // in none of the module's pictures

class RadaltPicture : public Radalt {
 protected:
  Image draw() { return host::render::render_gauge(panel.gauge("radalt"), bitmaps); }
  const Image& picture(uint32_t id) { return bitmaps.get(panel.gauge("radalt").module, id); }
  // A pointer picture of the real one's size and hub: a marker-coloured
  // bar along +x from the hub to the tip, black around it.
  void marker_pointer() {
    constexpr const frame::BitmapEntry& kReal =
        frame::bitmap_entry(radalt::kBitmaps, kPointerPicture);
    Image bar(kReal.width, kReal.height);
    bar.fill_rect(kPointerHub, kPointerHub - 2, 100, 5, kMarker);
    bitmaps.put("vrn_radalt", kPointerPicture, bar);
  }
  static double ray_for(double metres) {
    return *host::render::needle_angle(kPivot, kPivot, radalt::kHeightTable.data(),
                                       radalt::kHeightTable.size(), metres);
  }
  static Rgb on_ray(const Image& out, double angle, double distance) {
    return out.at(kPivot + static_cast<int32_t>(std::lround(distance * std::cos(angle))),
                  kPivot + static_cast<int32_t>(std::lround(distance * std::sin(angle))));
  }

  BitmapLibrary bitmaps;
};

// Heights whose ray stays clear of the dead-zone mask at the upper left.
const std::vector<double> kHeights = {15.24, 30.48, 45.0, 60.96, 100.0, 152.4, 300.0, 457.2};

TEST_F(RadaltPicture, ThePointerLiesOnTheRayTowardsItsTablePoint) {
  for (double metres : kHeights) {
    SCOPED_TRACE(std::to_string(metres) + " m");
    height(metres);
    settle();
    ASSERT_EQ(needle(kHeightPointerB), std::floor(metres));
    const double ray = ray_for(std::floor(metres));
    Image out = draw();
    const Image& pointer = picture(kPointerPicture);
    for (int32_t d : {40, 70, 90}) {
      SCOPED_TRACE(std::to_string(d) + " px out");
      EXPECT_EQ(on_ray(out, ray, d), pointer.at(kPointerHub + d, kPointerHub));
    }
  }
}

TEST_F(RadaltPicture, ThePointersColourIsOnItsRayAndNowhereElseAtThatRadius) {
  marker_pointer();
  for (double metres : kHeights) {
    SCOPED_TRACE(std::to_string(metres) + " m");
    height(metres);
    settle();
    const double ray = ray_for(std::floor(metres));
    Image out = draw();
    for (int32_t d : {30, 60, 95}) {
      SCOPED_TRACE(std::to_string(d) + " px out");
      EXPECT_EQ(on_ray(out, ray, d), kMarker);
      EXPECT_NE(on_ray(out, ray + 0.2, d), kMarker);
      EXPECT_NE(on_ray(out, ray - 0.2, d), kMarker);
    }
    EXPECT_NE(on_ray(out, ray, 104), kMarker) << "past the tip";
  }
}

TEST_F(RadaltPicture, TheDhLampIsDrawnOnlyWhileLit) {
  bitmaps.put("vrn_radalt", kLampPicture, Image(kLampSide, kLampSide, kMarker));
  auto lamp_pixels = [&] {
    Image out = draw();
    int marked = 0;
    for (int32_t y = kLampY; y < kLampY + kLampSide; ++y) {
      for (int32_t x = kLampX; x < kLampX + kLampSide; ++x) marked += out.at(x, y) == kMarker;
    }
    return marked;
  };
  struct Step {
    const char* name;
    double metres;
    bool click_set;
    bool lit;
  };
  // The DH stands at 50 ft (15 m) from the start.
  const Step steps[] = {{"above the DH, armed", 16, true, false},
                        {"at the DH", 15, false, true},
                        {"below it", 5, false, true},
                        {"more than 10 m above it", 26, false, false}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    height(s.metres);
    settle();
    if (s.click_set) {
      click(kSet);
      settle();
    }
    ASSERT_EQ(shown(kDhLamp), s.lit);
    EXPECT_EQ(lamp_pixels(), s.lit ? kLampSide * kLampSide : 0);
  }
}

TEST_F(RadaltPicture, TheRealLitLampShowsItsOwnCentre) {
  height(16);
  settle();
  click(kSet);
  settle();
  height(15);
  settle();
  ASSERT_TRUE(shown(kDhLamp));
  const Image& lamp = picture(kLampPicture);
  EXPECT_EQ(draw().at(kLampX + 9, kLampY + 9), lamp.at(9, 9));
}

// Where no needle passes, each pixel is the topmost non-black one of the
// static layers, or the panel where all are black.
TEST_F(RadaltPicture, BlackInTheOverlaysLeavesWhatIsBelow) {
  struct Layer {
    uint32_t id;
    int32_t x, y;
  };
  // Background, the shown face (set B: variant 0), the selector at OFF, the
  // dead-zone mask; all drawn with black transparent.
  const Layer layers[] = {{radalt::kBitmapBackground, 0, 0},
                          {radalt::kBitmapFace, 0, 0},
                          {radalt::kBitmapSelectorOff, 24, 240},
                          {radalt::kBitmapBezelMask, 0, 0}};
  ASSERT_TRUE(shown(kFaceB));
  ASSERT_TRUE(shown(kSelectorOff));
  Image out = draw();
  struct Spot {
    int32_t x, y;
  };
  const Spot spots[] = {{0, 0},   {301, 0},  {0, 301},  {301, 301}, {2, 151},  {151, 2},
                        {80, 80}, {151, 60}, {60, 151}, {40, 100},  {30, 260}, {290, 151}};
  for (const Spot& s : spots) {
    SCOPED_TRACE(std::to_string(s.x) + "," + std::to_string(s.y));
    Rgb expected = host::render::kPanelColour;
    for (const Layer& l : layers) {
      const Image& p = picture(l.id);
      if (!p.contains(s.x - l.x, s.y - l.y)) continue;
      const Rgb c = p.at(s.x - l.x, s.y - l.y);
      if (c != host::render::kBlack) expected = c;
    }
    EXPECT_EQ(out.at(s.x, s.y), expected);
  }
}

TEST_F(RadaltPicture, TheGaugeIsTheSizeOfItsBackground) {
  Image out = draw();
  EXPECT_EQ(out.width(), picture(radalt::kBitmapBackground).width());
  EXPECT_EQ(out.height(), picture(radalt::kBitmapBackground).height());
  EXPECT_EQ(out.width(), frame::bitmap_entry(radalt::kBitmaps, radalt::kBitmapBackground).width);
}

}  // namespace
