#include "gpws/gpws_state.h"

#include <iterator>

#include "gpws/deadline.h"

namespace gpws {
namespace {

constexpr const char* kSlotPaths[] = {
    "Sound\\360tinytog.wav", "Sound\\dontsink.wav",    "Sound\\glideslope.wav",
    "Sound\\minimums.wav",   "Sound\\toolowflaps.wav", "Sound\\toolowgear.wav",
    "Sound\\sinkrate.wav",   "Sound\\pullup.wav",      "Sound\\terrain1.wav",
    "Sound\\terrain2.wav",
};
static_assert(std::size(kSlotPaths) == kSlotCount);

constexpr GpwsState initial_state() {
  GpwsState s{};
  s.test_deadline = kDisarmedDeadline;
  s.glideslope_deadline = kDisarmedDeadline;
  s.warning_deadline = kDisarmedDeadline;
  s.terrain_deadline = kDisarmedDeadline;
  for (size_t i = 0; i < kSlotCount; ++i) s.slot[i].path = kSlotPaths[i];
  return s;
}

}  // namespace

constinit GpwsState gpws_state = initial_state();

}  // namespace gpws
