#pragma once
// The routines the host calls on the "radalt" gauge.
#include <cstdint>

#include "frame/records.h"

namespace radalt {

void GAUGE_CALL radalt_gauge_callback(frame::GaugeHeader* gauge, uint32_t service, uint32_t extra);

double GAUGE_CALL ground_elevation_value(frame::ElementHeader* element);
double GAUGE_CALL indicated_height_value(frame::ElementHeader* element);
double GAUGE_CALL decision_height_value(frame::ElementHeader* element);

uint32_t GAUGE_CALL dh_lower_click(void* position, uint32_t flags);
uint32_t GAUGE_CALL dh_raise_click(void* position, uint32_t flags);
uint32_t GAUGE_CALL dh_select_set_click(void* position, uint32_t flags);
uint32_t GAUGE_CALL dh_select_off_click(void* position, uint32_t flags);

}  // namespace radalt
