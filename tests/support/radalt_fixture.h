#pragma once
// vrn_radalt's "radalt" gauge on a panel, powered, with the two named
// variables it writes registered by the host as their owners would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/host_facts.h"
#include "host_fixture.h"
#include "radalt/radalt_elements.h"

namespace radalt_test {

using Lines = std::vector<std::string>;

enum Token : uint32_t {
  kAltitude = facts::token::kAltitude,
  kGround = facts::token::kGroundElevation,
  kPower = facts::token::kPower,
  kVariant = facts::token::kDisplayVariant,
  kOnGround = facts::token::kOnGround,
  kGroundTest = facts::token::kGroundTest,
  kOffFlag = facts::token::kRadaltOffFlag,
};

// The chain's elements by the module's own names.
using namespace radalt;

// Points inside each click area, clear of the overlaps.
struct Point {
  int x, y;
};
inline constexpr Point kLower{5, 220};
inline constexpr Point kRaise{50, 220};
inline constexpr Point kSet{35, 280};
inline constexpr Point kOff{60, 262};

class Radalt : public ::testing::Test {
 protected:
  explicit Radalt(bool register_variables = true) : panel(testing_host::options()) {
    if (register_variables) {
      panel.named().host_storage(facts::kVarRadaltGpws);
      panel.named().host_storage(facts::kVarRadaltAdi);
    }
  }
  void SetUp() override {
    panel.add_gauge("vrn_radalt", "radalt");
    panel.start();
    panel.sim().set(kPower, 1.0);
    height(500);
    panel.run_frames(2);
  }

  void set(Token token, double value) { panel.sim().set(token, value); }
  // Whole metres above a ground elevation of `ground_m`.
  void height(double metres, double ground_m = 0.0) {
    set(kAltitude, metres + ground_m);
    set(kGround, ground_m * 256.0);
  }
  void click(Point p) { panel.click("radalt", p.x, p.y); }

  // The update compares the height the pointer measured on the frame before.
  Lines settle() {
    size_t from = testing_host::mark(panel);
    panel.run_frames(2);
    Lines out;
    for (const std::string& line : testing_host::events(panel, from)) {
      if (line.rfind("needle ", 0) != 0) out.push_back(line);
    }
    return out;
  }
  static bool has(const Lines& lines, const std::string& text) {
    for (const std::string& line : lines) {
      if (line == text) return true;
    }
    return false;
  }
  double needle(size_t index) { return panel.gauge("radalt").elements[index].last_value; }
  bool shown(size_t index) { return !panel.element_hidden("radalt", index); }
  int32_t dh_ft() { return static_cast<int32_t>(needle(kDhMarkerA)); }

  host::PanelHost panel;
};

}  // namespace radalt_test
