#pragma once
// Switching elements of a gauge's chain on and off by index.
#include <cstdint>

#include "frame/records.h"

namespace frame {

// Walk `index` steps from `first` along the first entry of each next-element
// list and set (hide) or clear (show) `mask` in that element's image flags.
// Returns the element changed, or null when the chain ended first.
ElementHeader* hide_element(ElementHeader* first, uint32_t index, uint32_t mask);
ElementHeader* show_element(ElementHeader* first, uint32_t index, uint32_t mask);

// Element `index` of the gauge whose header the host passed.
inline void hide(GaugeHeader* gauge, uint32_t index) {
  hide_element(*gauge->element_list, index, kImageHidden);
}
inline void show(GaugeHeader* gauge, uint32_t index) {
  show_element(*gauge->element_list, index, kImageHidden);
}

}  // namespace frame
