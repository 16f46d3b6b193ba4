#pragma once
// The radar altimeter's one state record and the module variables its
// callbacks share.
#include <cstdint>

#include "frame/records.h"

namespace radalt {

struct RadaltState {
  int32_t decision_height_ft;  // 50 .. 1000
  int32_t decision_height_m;
  int32_t ground_elevation_m;
  int32_t indicated_height_m;  // never above 770
  int32_t dh_armed;            // the selector stands at SET
  int32_t dh_alert_latched;
};

extern GAUGE_LOCAL RadaltState radalt_state;

// Instrument power, as last looked up by the gauge callback; the pointer's
// callback reads it without a lookup of its own.
extern GAUGE_LOCAL frame::ModuleVar power_var;

}  // namespace radalt
