// Fuzzing builds only: hands the fuzzer the radar altimeter's state record so
// that it can check the decision height and latches after every call.
#include "frame/gauge_call.h"
#include "radalt/radalt_state.h"

extern "C" GAUGE_EXPORT const void* GAUGE_CALL GaugeStateProbe() {
  return &radalt::radalt_state;
}
