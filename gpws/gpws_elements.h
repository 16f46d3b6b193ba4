#pragma once
// The records of the GPWS gauges' chains. Each chain's links are built from
// its table here, so element i of the walk from a gauge's header is entry i
// of its table; the GPWS switches its lamps through them directly.
#include <cstdint>

#include "frame/records.h"

namespace gpws {

extern GAUGE_LOCAL frame::StaticElement test_button, below_background, inop_background,
    fi_background;
extern GAUGE_LOCAL frame::IconElement test_warning_lamp, test_self_test_lamp, below_lit, inop_lit,
    fi_lit;

inline constexpr frame::ElementHeader* kTestChain[] = {
    &test_button.header, &test_warning_lamp.header, &test_self_test_lamp.header};
inline constexpr frame::ElementHeader* kBelowChain[] = {&below_background.header,
                                                        &below_lit.header};
inline constexpr frame::ElementHeader* kInopChain[] = {&inop_background.header, &inop_lit.header};
inline constexpr frame::ElementHeader* kFiChain[] = {&fi_background.header, &fi_lit.header};

// Element `index` of the "test" gauge.
inline frame::ElementHeader& test_element(uint32_t index) {
  return *kTestChain[index];
}

}  // namespace gpws
