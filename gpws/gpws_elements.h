#pragma once
// The elements of the GPWS gauges' chains by index, as the gauges switch
// them through the header the host passes. gauge_records.cpp checks each
// name against the record it builds at that place.
#include <cstdint>

namespace gpws {

// "test": the unlit button, the face the warning cycle flashes, the face lit
// during the self-test.
enum TestElement : uint32_t {
  kElementButton = 0,
  kElementWarningLamp = 1,
  kElementTestLamp = 2,
  kTestElementCount,
};
// Their names, index for index, as flights and the host's readers call them.
inline constexpr const char* kTestElementNames[] = {"button", "warning_lamp", "test_lamp"};
static_assert(sizeof kTestElementNames / sizeof kTestElementNames[0] == kTestElementCount);

// "below", "inop" and "fi": a lamp background and its lit face each.
enum LampElement : uint32_t {
  kElementLampBackground = 0,
  kElementLitLamp = 1,
  kLampElementCount,
};
inline constexpr const char* kLampElementNames[] = {"lamp_background", "lit_lamp"};
static_assert(sizeof kLampElementNames / sizeof kLampElementNames[0] == kLampElementCount);

}  // namespace gpws
