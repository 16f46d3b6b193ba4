// Sink rate, pull-up and terrain closure: the last three steps of the update.
// Not built yet: each is a named step that does nothing, so the update
// already reads as its full list of steps.
#include "gpws/update_steps.h"

namespace gpws {

void sink_rate_and_pullup(frame::GaugeHeader* /*test_gauge*/, const GpwsInputs& /*in*/) {}

void warning_cycle(frame::GaugeHeader* /*test_gauge*/, const GpwsInputs& /*in*/) {}

void terrain_closure(frame::GaugeHeader* /*test_gauge*/, const GpwsInputs& /*in*/) {}

}  // namespace gpws
