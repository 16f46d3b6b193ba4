// The four click areas under the dial: the two halves of the DH knob and
// the OFF / SET selector. A click changes the state; the next update shows it.
#include "radalt/decision_height.h"
#include "radalt/radalt_gauge.h"
#include "radalt/radalt_state.h"

namespace radalt {
namespace {

void set_dh(int32_t dh_ft) {
  radalt_state.decision_height_ft = dh_ft;
  radalt_state.decision_height_m = dh_metres(dh_ft);
}

}  // namespace

uint32_t GAUGE_CALL dh_lower_click(void* /*position*/, uint32_t /*flags*/) {
  set_dh(lowered_dh_ft(radalt_state.decision_height_ft));
  return 0;
}

uint32_t GAUGE_CALL dh_raise_click(void* /*position*/, uint32_t /*flags*/) {
  set_dh(raised_dh_ft(radalt_state.decision_height_ft));
  return 0;
}

uint32_t GAUGE_CALL dh_select_set_click(void* /*position*/, uint32_t /*flags*/) {
  radalt_state.dh_armed = 1;
  return 0;
}

uint32_t GAUGE_CALL dh_select_off_click(void* /*position*/, uint32_t /*flags*/) {
  radalt_state.dh_armed = 0;
  return 0;
}

}  // namespace radalt
