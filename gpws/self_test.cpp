// The GPWS self-test: the test switch starts 54 ticks of glideslope voice and
// lamps, then the pull-up voice, then a click and everything dark. While it
// runs no alert is evaluated.
#include "gpws/self_test.h"

#include "frame/element_walk.h"
#include "gpws/deadline.h"
#include "gpws/gpws_elements.h"
#include "gpws/gpws_state.h"
#include "gpws/height.h"
#include "gpws/inputs.h"
#include "gpws/update_steps.h"
#include "gpws/voices.h"

namespace gpws {
namespace {

constexpr uint32_t kHalfTestTicks = 27;
constexpr uint32_t kAirborneTestAboveFt = 1000;

}  // namespace

// Refused without power, or airborne at 1000 ft or lower: then only the click.
uint32_t GAUGE_CALL test_switch_click(void* /*position*/, uint32_t /*flags*/) {
  play_voice(kSlotSwitchClick);
  const SwitchInputs in = refresh_switch_inputs();
  GpwsState& s = gpws_state;
  Heights h = compute_heights(in.aircraft_altitude, in.ground_elevation);
  s.altitude_m = h.altitude_m;
  s.ground_m = h.ground_m;
  s.height_ft = h.height_ft;
  if (in.gpws_power != 1.0) return 0;
  if (in.on_ground != 1.0 && s.height_ft <= kAirborneTestAboveFt) return 0;
  s.test_deadline = deadline_after(in.clock_ticks, kHalfTestTicks);
  play_voice(kSlotGlideslope);
  s.test_active = 1;
  return 0;
}

// A deadline that passed while the power was off is due as soon as it returns.
void self_test_deadline_step(frame::GaugeHeader* test_button_gauge, const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  if (deadline_due(s.test_deadline, in.clock_ticks) && s.test_stage == kFirstHalf) {
    play_voice(kSlotPullUp);
    s.test_deadline = deadline_after(in.clock_ticks, kHalfTestTicks);
    s.test_stage = kSecondHalf;
  }
  if (deadline_due(s.test_deadline, in.clock_ticks) && s.test_stage == kSecondHalf) {
    play_voice(kSlotSwitchClick);
    s.below_gs_lamp = 0;
    s.inop_lamp = 0;
    frame::hide(test_button_gauge, kElementTestLamp);
    s.test_active = 0;
    s.test_deadline = kDisarmedDeadline;
    s.test_stage = kFirstHalf;
  }
}

void self_test_display_step(frame::GaugeHeader* test_button_gauge) {
  GpwsState& s = gpws_state;
  s.below_gs_lamp = 1;
  s.inop_lamp = 1;
  frame::show(test_button_gauge, kElementTestLamp);
}

}  // namespace gpws
