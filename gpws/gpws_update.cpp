#include "frame/convert.h"
#include "gpws/gpws_state.h"
#include "gpws/height.h"
#include "gpws/update_steps.h"

namespace gpws {
namespace {

void compute_derived_heights(const GpwsInputs& in) {
  Heights h = compute_heights(in.aircraft_altitude, in.ground_elevation);
  gpws_state.altitude_m = h.altitude_m;
  gpws_state.ground_m = h.ground_m;
  gpws_state.height_ft = h.height_ft;
}

}  // namespace

void gpws_update(frame::GaugeHeader* test_button_gauge) {
  const GpwsInputs in = refresh_inputs();                      // 1
  gpws_state.vs_fpm = frame::trunc_to_i32(in.vertical_speed);  // 2
  if (in.gpws_power != 1.0) {                                  // 3
    all_off_reset(test_button_gauge);
    return;
  }
  self_test_deadline_step(test_button_gauge, in);  // 4
  compute_derived_heights(in);                     // 5
  if (gpws_state.test_active == 1) {               // 6
    self_test_display_step(test_button_gauge);
    return;
  }
  if (in.on_ground != 0.0) {  // 7: values other than 0 and 1 only end the update
    if (in.on_ground == 1.0) all_off_reset(test_button_gauge);
    return;
  }
  expire_glideslope_deadline(in);               // 8
  release_latches(in);                          // 9
  rearm_minimums(in);                           // 10
  callout_chain(in);                            // 11
  glideslope_callout_and_lamp(in);              // 12
  sink_rate_and_pullup(test_button_gauge, in);  // 13
  warning_cycle(test_button_gauge, in);         // 14
  terrain_closure(in);                          // 15
}

}  // namespace gpws
