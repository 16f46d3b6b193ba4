#pragma once
// The records of the "radalt" chain, in drawing order. The chain's links are
// built from kChain, so element i of the walk from the gauge header is
// kChain[i]; the update switches its elements through it directly.
#include "frame/records.h"

namespace radalt {

extern GAUGE_LOCAL frame::StaticElement background;
extern GAUGE_LOCAL frame::NeedleElement ground_carrier, dh_marker_a, dh_marker_b, height_pointer_a,
    height_pointer_b;
extern GAUGE_LOCAL frame::IconElement face_a, face_b, selector_set, selector_off, dh_lamp,
    bezel_mask, off_flag_a, off_flag_b;

inline constexpr frame::ElementHeader* kChain[] = {
    &background.header,   &ground_carrier.header,   &face_a.header,           &face_b.header,
    &selector_set.header, &selector_off.header,     &dh_lamp.header,          &dh_marker_a.header,
    &dh_marker_b.header,  &height_pointer_a.header, &height_pointer_b.header, &bezel_mask.header,
    &off_flag_a.header,   &off_flag_b.header,
};

}  // namespace radalt
