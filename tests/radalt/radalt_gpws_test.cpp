// Both modules in one host: the radar altimeter reaching the decision height
// gives the GPWS's minimums callout, whichever order the panel lists them in.
#include <gtest/gtest.h>

#include "frame/host_facts.h"
#include "host_fixture.h"

namespace {

using Lines = std::vector<std::string>;

struct Order {
  const char* name;
  bool radalt_first;
};

class DecisionHeight : public ::testing::TestWithParam<Order> {
 protected:
  DecisionHeight() : panel(testing_host::options()) {}

  void SetUp() override {
    if (GetParam().radalt_first) panel.add_gauge("vrn_radalt", "radalt");
    panel.add_gauge("vrn_gpws", "test");
    if (!GetParam().radalt_first) panel.add_gauge("vrn_radalt", "radalt");
    panel.start();
    for (auto [token, value] : {std::pair{facts::token::kPower, 1.0},
                                {60u, 0.0},
                                {2u, 0.0},
                                {332u, 16383.0},
                                {329u, 16383.0},
                                {65u, -700.0},
                                {73u, 300.0}}) {
      panel.sim().set(token, value);
    }
    panel.run_frames(2);
    for (int i = 0; i < 10; ++i) panel.click("radalt", 50, 220);  // DH 200 ft, 60 m
    panel.click("radalt", 35, 280);                               // SET
  }

  // Descends to `metres` and returns the DH event and voices of the next frames.
  Lines descend_to(double metres, int frames) {
    panel.sim().set(73, metres);
    size_t from = testing_host::mark(panel);
    panel.run_frames(frames);
    Lines out;
    for (const std::string& line : testing_host::events(panel, from)) {
      if (line == "key_event 65814 0" || line.find("minimums.wav") != std::string::npos) {
        out.push_back(std::to_string(panel.frame()) + " " + line.substr(0, 15));
      }
    }
    return out;
  }

  host::PanelHost panel;
};

TEST_P(DecisionHeight, TheMinimumsCalloutFollowsTheRadarAltimeter) {
  panel.sim().set(77, 1.0);  // on approach
  EXPECT_EQ(descend_to(61, 3), Lines{});
  Lines got = descend_to(60, 3);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].substr(got[0].find(' ') + 1), "key_event 65814");
  EXPECT_EQ(got[1].substr(got[1].find(' ') + 1), "sound play h=4 ");
  EXPECT_EQ(panel.named().read("radalt_gpws"), 1);
}

TEST_P(DecisionHeight, NoCalloutOffTheApproach) {
  for (double phase : {0.0, -1.0}) {
    panel.sim().set(77, phase);
    Lines got = descend_to(60, 3);
    EXPECT_EQ(got.size(), 1u) << "only the radar altimeter's own event";
    panel.sim().set(73, 200);
    panel.run_frames(3);
    panel.click("radalt", 35, 280);
  }
}

INSTANTIATE_TEST_SUITE_P(PanelOrder, DecisionHeight,
                         ::testing::Values(Order{"radalt_first", true}, Order{"gpws_first", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
