// The element walk and the conversion helper, on records built in the test
// the same way a module builds its own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "frame/convert.h"
#include "frame/element_walk.h"
#include "frame/record_builders.h"

namespace {

using frame::ElementHeader;
using frame::kImageHidden;

constexpr uint32_t kOtherBits = 0x1 | 0x2 | 0x4 | 0x4000;

// A three-element chain: static image, then two icons.
struct Chain {
  frame::StaticElement first{};
  frame::IconElement second{};
  frame::IconElement third{};
  ElementHeader* after_first[2] = {&second.header, nullptr};
  ElementHeader* after_second[2] = {&third.header, nullptr};

  Chain() {
    first = frame::static_image(1, 0, 0, nullptr, after_first, kOtherBits);
    second = frame::icon(2, 0, 0, nullptr, after_second, kOtherBits);
    third = frame::icon(3, 0, 0, nullptr, nullptr, kOtherBits | kImageHidden);
  }
  ElementHeader* element(int i) {
    ElementHeader* all[] = {&first.header, &second.header, &third.header};
    return all[i];
  }
};

struct WalkCase {
  const char* name;
  bool hide;
  uint32_t index;
  int changed;  // index of the element expected back, -1 for null
  uint32_t flags_after;
};

constexpr WalkCase kWalkCases[] = {
    {"hide index 0 acts on the first element", true, 0, 0, kOtherBits | kImageHidden},
    {"hide index 1", true, 1, 1, kOtherBits | kImageHidden},
    {"show the hidden last element", false, 2, 2, kOtherBits},
    {"show a visible element changes nothing", false, 1, 1, kOtherBits},
    {"hide a hidden element changes nothing", true, 2, 2, kOtherBits | kImageHidden},
    {"a walk past the end returns null", true, 3, -1, 0},
    {"a huge index returns null", false, 0xffffffffu, -1, 0},
};

TEST(ElementWalk, ShowsAndHidesByIndex) {
  for (const WalkCase& c : kWalkCases) {
    SCOPED_TRACE(c.name);
    Chain chain;
    uint32_t before[3];
    for (int i = 0; i < 3; ++i) before[i] = chain.element(i)->image_flags;
    ElementHeader* got = c.hide ? frame::hide_element(&chain.first.header, c.index, kImageHidden)
                                : frame::show_element(&chain.first.header, c.index, kImageHidden);
    if (c.changed < 0) {
      EXPECT_EQ(got, nullptr);
    } else {
      EXPECT_EQ(got, chain.element(c.changed));
      EXPECT_EQ(got->image_flags, c.flags_after);
    }
    for (int i = 0; i < 3; ++i) {
      if (i != c.changed) {
        EXPECT_EQ(chain.element(i)->image_flags, before[i]) << "element " << i;
      }
    }
  }
}

TEST(ElementWalk, StopsAtANullFirstEntryAndNeverBranches) {
  Chain chain;
  ElementHeader* empty_list[2] = {nullptr, &chain.third.header};
  chain.first.header.next_list = empty_list;
  EXPECT_EQ(frame::hide_element(&chain.first.header, 1, kImageHidden), nullptr);
  EXPECT_EQ(chain.third.header.image_flags, kOtherBits | kImageHidden);
  EXPECT_EQ(frame::show_element(&chain.first.header, 1, kImageHidden), nullptr);
  EXPECT_EQ(chain.third.header.image_flags, kOtherBits | kImageHidden);
  EXPECT_EQ(frame::hide_element(nullptr, 0, kImageHidden), nullptr);
}

TEST(ElementWalk, OtherBitsSurviveManyToggles) {
  Chain chain;
  for (int round = 0; round < 50; ++round) {
    frame::hide_element(&chain.first.header, round % 3, kImageHidden);
    frame::show_element(&chain.first.header, (round + 1) % 3, kImageHidden);
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(chain.element(i)->image_flags & ~kImageHidden, kOtherBits);
}

struct TruncCase {
  const char* name;
  double value;
  int32_t expected;
};

constexpr double kInf = std::numeric_limits<double>::infinity();

constexpr TruncCase kTruncCases[] = {
    {"zero", 0.0, 0},
    {"0.9 truncates to zero", 0.9, 0},
    {"-0.9 truncates to zero", -0.9, 0},
    {"-1.5 truncates toward zero", -1.5, -1},
    {"largest int", 2147483647.0, 2147483647},
    {"just below the top", 2147483647.9, 2147483647},
    {"2^31 saturates", 2147483648.0, 2147483647},
    {"smallest int", -2147483648.0, -2147483647 - 1},
    {"just above the bottom", -2147483648.9, -2147483647 - 1},
    {"below the bottom saturates", -2147483649.0, -2147483647 - 1},
    {"+inf saturates", kInf, 2147483647},
    {"-inf saturates", -kInf, -2147483647 - 1},
    {"huge", 1e300, 2147483647},
};

TEST(Convert, TruncatesTowardZeroAndSaturates) {
  for (const TruncCase& c : kTruncCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(frame::trunc_to_i32(c.value), c.expected);
  }
  EXPECT_EQ(frame::trunc_to_i32(std::nan("")), 0);
  EXPECT_EQ(frame::trunc_to_i32(-std::nan("")), 0);
}

}  // namespace

namespace {

TEST(Convert, SaturatesForEveryWidth) {
  EXPECT_EQ(frame::trunc_saturate<uint32_t>(-0.5), 0u);
  EXPECT_EQ(frame::trunc_saturate<uint32_t>(-1.0), 0u);
  EXPECT_EQ(frame::trunc_saturate<uint32_t>(4294967295.5), 4294967295u);
  EXPECT_EQ(frame::trunc_saturate<uint32_t>(4294967296.0), 4294967295u);
  EXPECT_EQ(frame::trunc_saturate<int64_t>(-9.3e18), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(frame::trunc_saturate<int64_t>(9.3e18), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(frame::trunc_saturate<int64_t>(-1e10 - 0.5), -10000000000);
  EXPECT_EQ(frame::trunc_saturate<uint16_t>(std::nan("")), 0u);
  static_assert(frame::trunc_saturate<int16_t>(40000.0) == 32767);
}

}  // namespace
