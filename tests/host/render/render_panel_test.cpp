// Panel pictures: scaling, boxes on the panel, the arrangement of a
// flight's gauges and their labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_error.h"
#include "host/render/flight_layout.h"
#include "host/render/gauge_renderer.h"
#include "host/render/panel_picture.h"
#include "host_fixture.h"

namespace {

using host::render::BitmapLibrary;
using host::render::Image;
using host::render::kPanelColour;
using host::render::Placement;
using host::render::Rgb;

// A picture whose every pixel tells where it came from.
Image coordinates(int32_t w, int32_t h) {
  Image out(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      out.set(x, y, Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 1});
    }
  }
  return out;
}

struct ScaleCase {
  const char* name;
  int32_t from_w, from_h, to_w, to_h;
  std::vector<std::vector<int32_t>> samples;  // {x, y, source x, source y}
};

TEST(ScaleNearest, SamplesTheSourcePixelUnderEachCentre) {
  const ScaleCase cases[] = {
      {"same size", 4, 3, 4, 3, {{0, 0, 0, 0}, {3, 2, 3, 2}}},
      {"twice", 4, 3, 8, 6, {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 3, 1, 1}, {7, 5, 3, 2}}},
      {"half", 8, 6, 4, 3, {{0, 0, 1, 1}, {1, 1, 3, 3}, {3, 2, 7, 5}}},
      {"three to two", 3, 3, 2, 2, {{0, 0, 0, 0}, {1, 1, 2, 2}}},
      {"stretched", 2, 2, 6, 2, {{0, 0, 0, 0}, {2, 1, 0, 1}, {3, 0, 1, 0}, {5, 1, 1, 1}}},
      {"to one pixel", 5, 5, 1, 1, {{0, 0, 2, 2}}},
  };
  for (const ScaleCase& c : cases) {
    SCOPED_TRACE(c.name);
    Image out = host::render::scale_nearest(coordinates(c.from_w, c.from_h), c.to_w, c.to_h);
    ASSERT_EQ(out.width(), c.to_w);
    ASSERT_EQ(out.height(), c.to_h);
    for (const auto& s : c.samples) {
      SCOPED_TRACE(std::to_string(s[0]) + "," + std::to_string(s[1]));
      EXPECT_EQ(out.at(s[0], s[1]),
                (Rgb{static_cast<uint8_t>(s[2]), static_cast<uint8_t>(s[3]), 1}));
    }
  }
  EXPECT_THROW(host::render::scale_nearest(coordinates(2, 2), 0, 2), host::HostError);
}

// The GPWS "test" button (46 x 46) and "fi" lamp on a panel.
class PanelPicture : public ::testing::Test {
 protected:
  PanelPicture() : panel(testing_host::options()) {
    panel.add_gauge("vrn_gpws", "test");
    panel.add_gauge("vrn_gpws", "fi");
    panel.add_gauge("vrn_gpws", "fi");
    panel.start();
    panel.run_frames(2);
  }
  Image gauge(const std::string& label) {
    return host::render::render_gauge(panel.gauge(label), bitmaps);
  }
  host::PanelHost panel;
  BitmapLibrary bitmaps;
};

struct BoxCase {
  const char* name;
  Placement place;
  int32_t box_w, box_h;
};

TEST_F(PanelPicture, EachGaugeFillsItsBox) {
  const BoxCase cases[] = {
      {"natural size", {"test", 10, 20, 0, 0}, 46, 46},
      {"width only keeps the aspect", {"test", 10, 20, 92, 0}, 92, 92},
      {"width and height stretch", {"test", 0, 0, 23, 69}, 23, 69},
      {"smaller", {"fi", 3, 4, 30, 0}, 30, 30},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Image natural = gauge(c.place.label);
    const Image expected = host::render::scale_nearest(natural, c.box_w, c.box_h);
    Image out = host::render::panel_picture(panel, {c.place}, bitmaps);
    ASSERT_EQ(out.width(), c.place.x + c.box_w + host::render::kPanelGap);
    ASSERT_EQ(out.height(), c.place.y + c.box_h + host::render::kPanelGap);
    for (int32_t y = 0; y < c.box_h; ++y) {
      for (int32_t x = 0; x < c.box_w; ++x) {
        ASSERT_EQ(out.at(c.place.x + x, c.place.y + y), expected.at(x, y)) << x << "," << y;
      }
    }
    EXPECT_EQ(out.at(out.width() - 1, out.height() - 1), kPanelColour);
    if (c.place.x > 0) {
      EXPECT_EQ(out.at(c.place.x - 1, c.place.y), kPanelColour);
    }
  }
}

TEST_F(PanelPicture, LaterBoxesCoverEarlierOnes) {
  Image out =
      host::render::panel_picture(panel, {{"test", 0, 0, 0, 0}, {"fi", 20, 20, 0, 0}}, bitmaps);
  EXPECT_EQ(out.at(30, 30), gauge("fi").at(10, 10));
  EXPECT_EQ(out.at(5, 5), gauge("test").at(5, 5));
}

TEST_F(PanelPicture, RefusesUnknownGaugesAndBadBoxes) {
  EXPECT_THROW(host::render::panel_picture(panel, {{"nothing", 0, 0, 0, 0}}, bitmaps),
               host::HostError);
  EXPECT_THROW(host::render::panel_picture(panel, {{"test", 0, 0, -5, 0}}, bitmaps),
               host::HostError);
  EXPECT_THROW(host::render::panel_picture(panel, {{"test", 0, 0, 100000, 0}}, bitmaps),
               host::HostError);
}

TEST(GaugeLabels, FollowThePanelsNaming) {
  std::vector<host::PanelGauge> gauges = {{"", "vrn_gpws", "fi"},
                                          {"", "vrn_gpws", "test"},
                                          {"", "other", "fi"},
                                          {"", "vrn_gpws", "fi"}};
  EXPECT_EQ(host::render::gauge_labels(gauges),
            (std::vector<std::string>{"fi", "test", "fi@2", "fi@3"}));
}

struct ArrangeCase {
  const char* name;
  std::vector<host::PanelGauge> gauges;
  std::vector<std::vector<int32_t>> boxes;  // x, y, w, h per gauge
};

TEST_F(PanelPicture, ArrangesAFlightsGauges) {
  constexpr int32_t g = host::render::kPanelGap;
  // where: "flight:line panel:line" for gauges from a panel file.
  auto from = [](const char* where, const char* gauge, int32_t x, int32_t y, int32_t w,
                 size_t window) {
    host::PanelGauge p{where, "vrn_gpws", gauge, x, y, w, 0, window};
    return p;
  };
  host::PanelGauge loose{"", "vrn_gpws", "test"};
  const ArrangeCase cases[] = {
      {"gauge lines side by side",
       {loose, {"", "vrn_gpws", "fi"}, {"", "vrn_gpws", "fi"}},
       {{g, g, 0, 0}, {g + 46 + g, g, 0, 0}, {g + 2 * (46 + g), g, 0, 0}}},
      {"a panel window as configured",
       {from("f:1 p:5", "test", 4, 4, 0, 0), from("f:1 p:6", "fi", 60, 4, 30, 0),
        from("f:1 p:7", "fi", 4, 60, 0, 0)},
       {{4, 4, 0, 0}, {60, 4, 30, 0}, {4, 60, 0, 0}}},
      {"a second window to the right, loose gauges after",
       {from("f:1 p:5", "test", 4, 4, 0, 0),
        from("f:1 p:9", "fi", 4, 4, 0, 1),
        {"", "vrn_gpws", "fi"}},
       {{4, 4, 0, 0}, {50 + g + 4, 4, 0, 0}, {50 + g + 4 + 46 + g, g, 0, 0}}},
  };
  for (const ArrangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> labels = host::render::gauge_labels(c.gauges);
    std::vector<Placement> got = host::render::arrange_panel(panel, c.gauges, bitmaps);
    ASSERT_EQ(got.size(), c.boxes.size());
    for (size_t i = 0; i < got.size(); ++i) {
      SCOPED_TRACE("gauge " + std::to_string(i));
      EXPECT_EQ(got[i].label, labels[i]);
      EXPECT_EQ((std::vector<int32_t>{got[i].x, got[i].y, got[i].width, got[i].height}),
                c.boxes[i]);
    }
  }
}

}  // namespace
