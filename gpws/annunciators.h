#pragma once
// The "below", "inop" and "fi" gauges: lamps that show fields of the GPWS
// state, and the flap inhibit push-button.
#include <cstdint>

#include "frame/records.h"

namespace gpws {

void GAUGE_CALL below_gauge_callback(frame::GaugeHeader* gauge, uint32_t service, uint32_t extra);
void GAUGE_CALL inop_gauge_callback(frame::GaugeHeader* gauge, uint32_t service, uint32_t extra);
void GAUGE_CALL fi_gauge_callback(frame::GaugeHeader* gauge, uint32_t service, uint32_t extra);
uint32_t GAUGE_CALL flap_inhibit_click(void* position, uint32_t flags);

}  // namespace gpws
