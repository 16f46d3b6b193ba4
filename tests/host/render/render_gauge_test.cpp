// Drawing gauges made here, with pictures made here: order, positions,
// transparency, hidden elements and needles turned by their tables.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "host/gauge_instance.h"
#include "host/host_error.h"
#include "host/render/gauge_renderer.h"

namespace {

using host::render::BitmapLibrary;
using host::render::Image;
using host::render::Rgb;

constexpr Rgb kBlue{20, 40, 200}, kRed{220, 30, 30}, kGreen{30, 200, 60}, kGrey{90, 90, 90},
    kBlack{0, 0, 0}, kWhite{255, 255, 255};
constexpr uint32_t kHidden = frame::kImageHidden;
constexpr uint32_t kTransparent = frame::kImageTransparent;

struct ElementPlan {
  frame::ElementType type;
  uint32_t bitmap;
  int32_t x, y;
  uint32_t flags = 0;
  int32_t pivot_x = 0, pivot_y = 0;
  std::vector<frame::NeedleEntry> table = {};
};

// A gauge chain built at run time. Every element is stored as a needle
// record, the largest, whose header comes first like every other kind.
class Crafted {
 public:
  explicit Crafted(const std::vector<ElementPlan>& plans) {
    tables_.reserve(plans.size());  // the records point into these
    for (const ElementPlan& s : plans) {
      auto e = std::make_unique<frame::NeedleElement>();
      e->header.type = s.type;
      e->header.bitmap_id = s.bitmap;
      e->header.x = s.x;
      e->header.y = s.y;
      e->header.image_flags = s.flags;
      e->header.pivot_x = s.pivot_x;
      e->header.pivot_y = s.pivot_y;
      e->header.gauge = &header_;
      tables_.push_back(s.table);
      e->table = tables_.back().empty() ? nullptr : tables_.back().data();
      e->table_count = static_cast<uint32_t>(tables_.back().size());
      elements_.push_back(std::move(e));
    }
    links_.resize(elements_.size());
    for (size_t i = 0; i + 1 < elements_.size(); ++i) {
      links_[i] = {&elements_[i + 1]->header, nullptr};
      elements_[i]->header.next_list = links_[i].data();
    }
    first_ = elements_.empty() ? nullptr : &elements_[0]->header;
    header_.name = "crafted";
    header_.element_list = &first_;
    gauge_ = host::make_gauge_instance("crafted", nullptr, host::ref_of(&header_));
  }
  // The value the needle's callback gave last.
  void value(size_t index, double v) {
    gauge_.elements[index].needle_seen = true;
    gauge_.elements[index].last_value = v;
  }
  const host::GaugeInstance& gauge() const { return gauge_; }

 private:
  frame::GaugeHeader header_{};
  std::vector<std::unique_ptr<frame::NeedleElement>> elements_;
  std::vector<std::vector<frame::NeedleEntry>> tables_;
  std::vector<std::array<frame::ElementHeader*, 2>> links_;
  frame::ElementHeader* first_ = nullptr;
  host::GaugeInstance gauge_;
};

// 20 x 10 blue background; a 3 x 2 red picture whose top-left pixel is
// black; a 2 x 2 green one.
BitmapLibrary small_pictures() {
  BitmapLibrary lib;
  lib.put("", 1, Image(20, 10, kBlue));
  Image red(3, 2, kRed);
  red.set(0, 0, kBlack);
  lib.put("", 2, red);
  lib.put("", 3, Image(2, 2, kGreen));
  Image corners(20, 10, kGrey);  // a background black at its corners
  corners.set(0, 0, kBlack);
  corners.set(19, 9, kBlack);
  lib.put("", 4, corners);
  return lib;
}

struct Pixel {
  int32_t x, y;
  Rgb colour;
};

struct LayerCase {
  const char* name;
  std::vector<ElementPlan> elements;
  std::vector<Pixel> expect;
};

std::vector<LayerCase> layer_cases() {
  using frame::kIcon;
  using frame::kStaticImage;
  const Rgb panel = host::render::kPanelColour;
  return {
      {"a static image at its position over the background",
       {{kStaticImage, 1, 0, 0}, {kStaticImage, 2, 4, 5}},
       {{4, 5, kBlack}, {5, 5, kRed}, {6, 6, kRed}, {3, 5, kBlue}, {7, 5, kBlue}, {4, 7, kBlue}}},
      {"black is transparent with flag 0x1",
       {{kStaticImage, 1, 0, 0}, {kStaticImage, 2, 4, 5, kTransparent}},
       {{4, 5, kBlue}, {5, 5, kRed}, {4, 6, kRed}}},
      {"other flags keep black",
       {{kStaticImage, 1, 0, 0}, {kStaticImage, 2, 4, 5, 0x6}},
       {{4, 5, kBlack}}},
      {"later elements cover earlier ones",
       {{kStaticImage, 1, 0, 0}, {kStaticImage, 2, 4, 5}, {kIcon, 3, 5, 5}},
       {{4, 5, kBlack}, {5, 5, kGreen}, {6, 6, kGreen}, {7, 6, kBlue}}},
      {"a hidden icon is not drawn",
       {{kStaticImage, 1, 0, 0}, {kIcon, 3, 5, 5, kHidden}},
       {{5, 5, kBlue}, {6, 6, kBlue}}},
      {"a hidden transparent picture is not drawn either",
       {{kStaticImage, 1, 0, 0}, {kStaticImage, 2, 4, 5, kHidden | kTransparent}},
       {{5, 5, kBlue}}},
      {"clipped at the canvas edge",
       {{kStaticImage, 1, 0, 0}, {kIcon, 3, 19, 9}, {kIcon, 3, -1, -1}},
       {{19, 9, kGreen}, {0, 0, kGreen}, {1, 1, kBlue}, {18, 8, kBlue}}},
      {"a transparent background shows the panel",
       {{kStaticImage, 4, 0, 0, kTransparent}},
       {{0, 0, panel}, {19, 9, panel}, {1, 0, kGrey}}},
      {"a hidden background still sizes the canvas",
       {{kStaticImage, 1, 0, 0, kHidden}, {kIcon, 3, 18, 8}},
       {{0, 0, panel}, {19, 9, kGreen}}},
  };
}

TEST(GaugeRenderer, DrawsTheChainInOrderOnTheBackgroundsSize) {
  for (const LayerCase& c : layer_cases()) {
    SCOPED_TRACE(c.name);
    BitmapLibrary lib = small_pictures();
    Crafted crafted(c.elements);
    Image out = host::render::render_gauge(crafted.gauge(), lib);
    ASSERT_EQ(out.width(), 20);
    ASSERT_EQ(out.height(), 10);
    for (const Pixel& p : c.expect) {
      SCOPED_TRACE("pixel " + std::to_string(p.x) + "," + std::to_string(p.y));
      EXPECT_EQ(out.at(p.x, p.y), p.colour);
    }
  }
}

// A 101 x 101 dial and a needle 40 x 5 pointing along +x from its pivot
// (2, 2): white bar on black. Pivot of the dial at (50, 50); the table
// points right at 0, down at 10, left at 20 (y grows downwards).
constexpr int32_t kC = 50;
const std::vector<frame::NeedleEntry> kCompass = {
    {100, 50, 0.0, 0.0}, {50, 100, 10.0, 0.0}, {0, 50, 20.0, 0.0}};

BitmapLibrary needle_pictures() {
  BitmapLibrary lib;
  lib.put("", 1, Image(101, 101, kGrey));
  Image needle(40, 5, kBlack);
  needle.fill_rect(0, 1, 40, 3, kWhite);
  lib.put("", 5, needle);
  return lib;
}

Rgb along(const Image& out, double degrees, double distance) {
  const double a = degrees * std::numbers::pi / 180.0;
  return out.at(kC + static_cast<int32_t>(std::lround(distance * std::cos(a))),
                kC + static_cast<int32_t>(std::lround(distance * std::sin(a))));
}

struct NeedleCase {
  const char* name;
  bool has_value;
  double value;
  std::vector<frame::NeedleEntry> table;
  uint32_t flags;
  double pointing_deg;  // where the bar must be
};

std::vector<NeedleCase> needle_cases() {
  return {
      {"at the first entry", true, 0.0, kCompass, kTransparent, 0.0},
      {"half way to the second", true, 5.0, kCompass, kTransparent, 45.0},
      {"at the second", true, 10.0, kCompass, kTransparent, 90.0},
      {"between the second and third", true, 15.0, kCompass, kTransparent, 135.0},
      {"at the last", true, 20.0, kCompass, kTransparent, 180.0},
      {"below the table", true, -7.0, kCompass, kTransparent, 0.0},
      {"above the table", true, 99.0, kCompass, kTransparent, 180.0},
      {"no value yet", false, 0.0, kCompass, kTransparent, 0.0},
      {"no table", true, 15.0, {}, kTransparent, 0.0},
      {"opaque", true, 10.0, kCompass, 0, 90.0},
  };
}

TEST(GaugeRenderer, TurnsNeedlesTowardsTheirTablesPoint) {
  for (const NeedleCase& c : needle_cases()) {
    SCOPED_TRACE(c.name);
    BitmapLibrary lib = needle_pictures();
    Crafted crafted(
        {{frame::kStaticImage, 1, 0, 0}, {frame::kNeedle, 5, kC, kC, c.flags, 2, 2, c.table}});
    if (c.has_value) crafted.value(1, c.value);
    Image out = host::render::render_gauge(crafted.gauge(), lib);
    for (double r : {5.0, 20.0, 36.0}) {
      SCOPED_TRACE("at " + std::to_string(r) + " px");
      EXPECT_EQ(along(out, c.pointing_deg, r), kWhite) << "on the needle";
      EXPECT_EQ(along(out, c.pointing_deg + 180.0, r + 4), kGrey) << "behind the pivot";
      EXPECT_EQ(along(out, c.pointing_deg + 90.0, r + 4), kGrey) << "beside";
    }
    EXPECT_EQ(along(out, c.pointing_deg, 41), kGrey) << "past the tip";
    // The needle's black frame beside the bar: dial when transparent.
    const Rgb beside = along(out, c.pointing_deg + std::atan2(2.0, 20.0) * 180 / std::numbers::pi,
                             std::hypot(20.0, 2.0));
    EXPECT_EQ(beside, c.flags & kTransparent ? kGrey : kBlack);
  }
}

TEST(GaugeRenderer, AnUnturnedNeedleIsAnExactCopyWithItsPivotOnThePosition) {
  BitmapLibrary lib = needle_pictures();
  Image needle(40, 5);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      needle.set(x, y, Rgb{static_cast<uint8_t>(x * 6), static_cast<uint8_t>(y * 50), 7});
    }
  }
  lib.put("", 5, needle);
  Crafted crafted({{frame::kStaticImage, 1, 0, 0}, {frame::kNeedle, 5, kC, kC, 0, 2, 2, kCompass}});
  crafted.value(1, 0.0);
  Image out = host::render::render_gauge(crafted.gauge(), lib);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
      ASSERT_EQ(out.at(kC - 2 + x, kC - 2 + y), needle.at(x, y));
    }
  }
  EXPECT_EQ(out.at(kC - 3, kC), kGrey);
  EXPECT_EQ(out.at(kC + 38, kC), kGrey);
}

TEST(GaugeRenderer, AHiddenNeedleIsNotDrawn) {
  BitmapLibrary lib = needle_pictures();
  Crafted crafted(
      {{frame::kStaticImage, 1, 0, 0}, {frame::kNeedle, 5, kC, kC, kHidden | 1, 2, 2, kCompass}});
  crafted.value(1, 10.0);
  Image out = host::render::render_gauge(crafted.gauge(), lib);
  EXPECT_EQ(along(out, 90.0, 20.0), kGrey);
  EXPECT_EQ(along(out, 0.0, 20.0), kGrey);
}

TEST(GaugeRenderer, SaysWhatIsMissing) {
  struct Case {
    const char* name;
    std::vector<ElementPlan> elements;
    const char* message;
  };
  const Case cases[] = {
      {"no elements", {}, "nothing to draw"},
      {"a picture nobody gave", {{frame::kStaticImage, 1, 0, 0}, {frame::kIcon, 77, 0, 0}}, "77"},
      {"a hidden element's picture is not needed",
       {{frame::kStaticImage, 1, 0, 0}, {frame::kIcon, 77, 0, 0, kHidden}},
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BitmapLibrary lib = small_pictures();
    Crafted crafted(c.elements);
    try {
      host::render::render_gauge(crafted.gauge(), lib);
      EXPECT_EQ(c.message, nullptr) << "drawn";
    } catch (const host::HostError& error) {
      ASSERT_NE(c.message, nullptr) << error.what();
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
