#pragma once
// The elements of the "radalt" chain by index, in drawing order. The update
// switches them through the header the host passes; gauge_records.cpp checks
// each name against the record it builds at that place.
#include <cstdint>

namespace radalt {

enum Element : uint32_t {
  kBackground = 0,
  kGroundCarrier = 1,  // needle: hands the ground elevation to the pointer
  kFaceA = 2,
  kFaceB = 3,
  kSelectorSet = 4,
  kSelectorOff = 5,
  kDhLamp = 6,
  kDhMarkerA = 7,
  kDhMarkerB = 8,
  kHeightPointerA = 9,
  kHeightPointerB = 10,
  kBezelMask = 11,
  kOffFlagA = 12,
  kOffFlagB = 13,
  kElementCount,
};

// Their names, index for index, as flights and the host's readers call them
// (`expect element dh_lamp of radalt shown at 54`).
inline constexpr const char* kElementNames[] = {
    "background",       "ground_carrier", "face_a",      "face_b",      "selector_set",
    "selector_off",     "dh_lamp",        "dh_marker_a", "dh_marker_b", "height_pointer_a",
    "height_pointer_b", "bezel_mask",     "off_flag_a",  "off_flag_b",
};
static_assert(sizeof kElementNames / sizeof kElementNames[0] == kElementCount);

}  // namespace radalt
