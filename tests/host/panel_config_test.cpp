// Reading the simulator's panel configuration.
#include "host/panel_config.h"

#include <gtest/gtest.h>

#include <string>

#include "host/host_error.h"

namespace {

constexpr const char* kPanel = R"(// two windows
[Window Titles]
Window00=Main panel
Window01=Overhead

[Window00]
size_mm=640,480
file=panel.bmp
gauge01=vrn_radalt!radalt, 100, 20, 151
gauge00=vrn_gpws!test, 10, 10, 46, 46   // the push-button

[window01]
SIZE_MM=200,100
gauge00=cabsound!XML-Sound, 0, 0
)";

TEST(PanelConfig, ReadsWindowsAndGaugesInPanelOrder) {
  host::PanelConfig panel = host::parse_panel(kPanel, "p.cfg");
  ASSERT_EQ(panel.windows.size(), 2u);
  EXPECT_EQ(panel.windows[0].title, "Main panel");
  EXPECT_EQ(panel.windows[0].width, 640);
  EXPECT_EQ(panel.windows[1].height, 100);
  auto gauges = panel.gauges();
  ASSERT_EQ(gauges.size(), 3u);
  const struct {
    const char* module;
    const char* gauge;
    int x, y, w, h;
    size_t window;
  } expected[] = {{"vrn_gpws", "test", 10, 10, 46, 46, 0},
                  {"vrn_radalt", "radalt", 100, 20, 151, 0, 0},
                  {"cabsound", "XML-Sound", 0, 0, 0, 0, 1}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(expected[i].gauge);
    EXPECT_EQ(gauges[i].module, expected[i].module);
    EXPECT_EQ(gauges[i].gauge, expected[i].gauge);
    EXPECT_EQ(gauges[i].x, expected[i].x);
    EXPECT_EQ(gauges[i].y, expected[i].y);
    EXPECT_EQ(gauges[i].width, expected[i].w);
    EXPECT_EQ(gauges[i].height, expected[i].h);
    EXPECT_EQ(gauges[i].window, expected[i].window);
  }
}

TEST(PanelConfig, WindowsStopAtTheFirstGapInTheTitles) {
  auto panel = host::parse_panel(
      "[Window Titles]\nWindow00=A\nWindow02=C\n[Window00]\nsize_mm=1,1\n[Window02]\nsize_mm=1,1\n",
      "p.cfg");
  EXPECT_EQ(panel.windows.size(), 1u);
}

TEST(PanelConfig, MistakesNameTheFileAndLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"[Window Titles]\nWindow00=A\n[Window00]\nsize_mm=10\n", "p.cfg:4: size_mm is width,height"},
      {"[Window Titles]\nWindow00=A\n[Window00]\nsize_mm=10,x\n", "p.cfg:4: height 'x' is not"},
      {"[Window Titles]\nWindow00=A\n[Window00]\nsize_mm=1,1\ngauge00=vrn_gpws test, 1, 2\n",
       "p.cfg:5: 'vrn_gpws test' is not module!gauge"},
      {"[Window Titles]\nWindow00=A\n[Window00]\nsize_mm=1,1\ngauge00=a!b, 1\n",
       "p.cfg:5: a gauge line is module!gauge, x, y[, w[, h]]"},
      {"[Window Titles]\nWindow00=A\n[Window00]\nsize_mm=1,1\ngauge00=a!b,1,2\ngauge00=a!b,1,2\n",
       "p.cfg:6: gauge0 is given twice"},
      {"[Panel]\n", "p.cfg:1: unknown section [panel]"},
      {"size_mm=1,1\n", "p.cfg:1: 'size_mm' is outside any section"},
      {"[Window Titles]\nWindow00=A\n[Window00]\ncolour=red\n", "p.cfg:4: unknown key 'colour'"},
      {"[Window Titles]\nWindow00=A\n", "p.cfg: Window0 has a title but no section"},
      {"[Window Titles]\nWindow00=A\n[Window00]\n", "p.cfg: [Window0] has no size_mm"},
      {"// nothing\n", "p.cfg: no window"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error;
    try {
      host::parse_panel(c.text, "p.cfg");
    } catch (const host::HostError& e) {
      error = e.what();
    }
    EXPECT_EQ(error.substr(0, std::string(c.message).size()), c.message) << error;
  }
}

}  // namespace
