#pragma once
// The steps of the GPWS update, in the order the update runs them. Steps
// that switch elements of the "test" gauge get the header the host passed.
#include "frame/records.h"
#include "gpws/inputs.h"

namespace gpws {

// The whole update of the "test" gauge, once per frame.
void gpws_update(frame::GaugeHeader* test_button_gauge);

// Without power, or on the ground: silence, clear the callouts, lamps off.
void all_off_reset(frame::GaugeHeader* test_button_gauge);

// Self-test (step 4, step 6).
void self_test_deadline_step(frame::GaugeHeader* test_button_gauge, const GpwsInputs& in);
void self_test_display_step(frame::GaugeHeader* test_button_gauge);

// Approach and departure callouts (steps 8 to 12).
void expire_glideslope_deadline(const GpwsInputs& in);
void release_latches(const GpwsInputs& in);
void rearm_minimums(const GpwsInputs& in);
void callout_chain(const GpwsInputs& in);
void glideslope_callout_and_lamp(const GpwsInputs& in);

// Warnings (steps 13 to 15).
void sink_rate_and_pullup(frame::GaugeHeader* test_button_gauge, const GpwsInputs& in);
void warning_cycle(frame::GaugeHeader* test_button_gauge, const GpwsInputs& in);
void terrain_closure(const GpwsInputs& in);

}  // namespace gpws
