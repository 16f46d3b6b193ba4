#include "frame/element_walk.h"
#include "gpws/deadline.h"
#include "gpws/gpws_elements.h"
#include "gpws/gpws_state.h"
#include "gpws/update_steps.h"
#include "gpws/voices.h"

namespace gpws {
namespace {

// Every voice but the switch click, in the order they are stopped.
constexpr Slot kResetStops[] = {kSlotPullUp,     kSlotSinkRate, kSlotDontSink,
                                kSlotGlideslope, kSlotMinimums, kSlotTooLowFlaps,
                                kSlotTooLowGear, kSlotTerrain1, kSlotTerrain2};

}  // namespace

// Leaves the self-test, the terrain memory, the re-arm height and the
// slots' loaded flags as they are.
void all_off_reset(frame::GaugeHeader* test_button_gauge) {
  for (Slot slot : kResetStops) stop_voice(slot);
  GpwsState& s = gpws_state;
  s.flaps_latch = 0;
  s.gear_latch = 0;
  s.dont_sink_latch = 0;
  s.minimums_latch = 0;
  s.minimums_rearm_stage = kRearmWaitForGearDown;
  s.glideslope_latch = 0;
  s.pullup_trigger = 0;
  s.warning_phase = kWarningIdle;
  s.sink_rate_sounding = 0;
  s.glideslope_deadline = kDisarmedDeadline;
  s.warning_deadline = kDisarmedDeadline;
  frame::hide(test_button_gauge, kElementWarningLamp);
  frame::hide(test_button_gauge, kElementTestLamp);
  s.below_gs_lamp = 0;
  s.inop_lamp = 0;
  s.flap_inhibit_selected = 0;
}

}  // namespace gpws
