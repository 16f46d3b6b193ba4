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

}  // namespace radalt
