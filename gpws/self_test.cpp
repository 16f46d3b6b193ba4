// The GPWS self-test: started by the test switch, it runs on its own deadline
// and owns the display while it runs. The sequence itself comes with the
// warnings; until then the switch starts nothing and test_active stays 0.
#include "gpws/self_test.h"

#include "gpws/update_steps.h"

namespace gpws {

void self_test_deadline_step(frame::GaugeHeader* /*test_gauge*/, const GpwsInputs& /*in*/) {}

void self_test_display_step(frame::GaugeHeader* /*test_gauge*/, const GpwsInputs& /*in*/) {}

uint32_t GAUGE_CALL test_switch_click(void* /*position*/, uint32_t /*flags*/) {
  return 0;
}

}  // namespace gpws
