// Fuzzing builds only: hands the fuzzer the GPWS's state record so that it can
// check deadlines and latches after every call the host makes.
#include "frame/gauge_call.h"
#include "gpws/gpws_state.h"

extern "C" GAUGE_EXPORT const void* GAUGE_CALL GaugeStateProbe() {
  return &gpws::gpws_state;
}
