// Step 14: the warning cycle shared by the pull-up and terrain alerts: the
// PULL UP lamp lit for 18 ticks, then a voice with the lamp dark for 9 ticks
// and lit for 9, until a reset.
#include "frame/element_walk.h"
#include "gpws/deadline.h"
#include "gpws/gpws_elements.h"
#include "gpws/gpws_state.h"
#include "gpws/update_steps.h"
#include "gpws/voices.h"

namespace gpws {
namespace {

constexpr uint32_t kHalfCycleTicks = 9;

enum WarningPhase : int32_t { kIdle = 0, kLampLit = 1, kLampDark = 2 };

Slot announcement() {
  switch (gpws_state.terrain_state) {
    case 1:
      return kSlotTerrain1;
    case 2:
      return kSlotTerrain2;
    default:
      return kSlotPullUp;
  }
}

// Both deadlines move together while there is a terrain alert.
void next_half(const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  s.warning_deadline = deadline_after(in.clock_ticks, kHalfCycleTicks);
  if (s.terrain_state != 0) s.terrain_deadline = s.warning_deadline;
}

}  // namespace

void warning_cycle(const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  if (s.warning_phase == kLampLit) {
    if (!deadline_due(s.warning_deadline, in.clock_ticks) &&
        !deadline_due(s.terrain_deadline, in.clock_ticks)) {
      frame::show(test_element(kElementWarningLamp));
      return;
    }
    play_voice(announcement());
    next_half(in);
    s.warning_phase = kLampDark;  // and on at once to the dark half
  }
  if (s.warning_phase == kLampDark) {
    if (deadline_due(s.warning_deadline, in.clock_ticks)) {
      next_half(in);
      s.warning_phase = kLampLit;
      frame::show(test_element(kElementWarningLamp));
    } else {
      frame::hide(test_element(kElementWarningLamp));
    }
    return;
  }
  if (s.warning_phase == kIdle) frame::hide(test_element(kElementWarningLamp));
}

}  // namespace gpws
