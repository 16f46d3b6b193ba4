#pragma once
// Table rows for drawing tests: a description, a picture size and the
// pixels it must give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assetgen_test_support.h"
#include "desc.h"
#include "image.h"

namespace assetgen_test {

inline constexpr assetgen::Rgb kBlack{0, 0, 0};
inline constexpr assetgen::Rgb kInk{200, 10, 20};  // "#c80a14" in the descriptions
inline constexpr assetgen::Rgb kPaper{1, 2, 3};

struct Probe {
  int x;
  int y;
  assetgen::Rgb want;
};

struct DrawCase {
  const char* name;
  int width;
  int height;
  const char* source;
  std::vector<Probe> probes;
};

inline void check_drawing(const DrawCase& c) {
  SCOPED_TRACE(c.name);
  assetgen::Image image(c.width, c.height);
  ASSERT_NO_THROW(assetgen::draw_description(image, c.source, "case.txt"));
  for (const Probe& p : c.probes) {
    SCOPED_TRACE("pixel " + std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(image.at(p.x, p.y), p.want);
  }
}

}  // namespace assetgen_test
