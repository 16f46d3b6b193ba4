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

Slot announcement() {
  switch (gpws_state.terrain_state) {
    case kTerrainBelowRef:
      return kSlotTerrain1;
    case kTerrainAboveRef:
      return kSlotTerrain2;
    case kNoTerrain:
      break;
  }
  return kSlotPullUp;
}

// Both deadlines move together while there is a terrain alert.
void next_half(const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  s.warning_deadline = deadline_after(in.clock_ticks, kHalfCycleTicks);
  if (s.terrain_state != kNoTerrain) s.terrain_deadline = s.warning_deadline;
}

}  // namespace

void warning_cycle(frame::GaugeHeader* test_button_gauge, const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  if (s.warning_phase == kWarningLampLit) {
    if (!deadline_due(s.warning_deadline, in.clock_ticks) &&
        !deadline_due(s.terrain_deadline, in.clock_ticks)) {
      frame::show(test_button_gauge, kElementWarningLamp);
      return;
    }
    play_voice(announcement());
    next_half(in);
    s.warning_phase = kWarningLampDark;  // and on at once to the dark half
  }
  if (s.warning_phase == kWarningLampDark) {
    if (deadline_due(s.warning_deadline, in.clock_ticks)) {
      next_half(in);
      s.warning_phase = kWarningLampLit;
      frame::show(test_button_gauge, kElementWarningLamp);
    } else {
      frame::hide(test_button_gauge, kElementWarningLamp);
    }
    return;
  }
  if (s.warning_phase == kWarningIdle) frame::hide(test_button_gauge, kElementWarningLamp);
}

}  // namespace gpws
