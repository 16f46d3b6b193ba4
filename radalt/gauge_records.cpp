// The "radalt" gauge as the host reads it: fourteen elements in drawing
// order, four click areas under the dial, and the module's Linkage.
#include <array>
#include <iterator>

#include "frame/record_builders.h"
#include "radalt/needle_tables.h"
#include "radalt/radalt_bitmaps.h"
#include "radalt/radalt_elements.h"
#include "radalt/radalt_gauge.h"

using namespace frame;

extern "C" GAUGE_EXPORT LinkageRecord<1> Linkage;

namespace radalt {

inline constexpr uint32_t kDefaultSizeMm = 38;
inline constexpr int32_t kPivot = 151;
inline constexpr uint32_t kKnobFlags = kMouseLeftSingle | kMouseRepeatWhileHeld;

// Image flags. Every element but the background and the faces saves the
// background under it; the DH lamp is not dimmed at night; the set A element
// of each pair carries the lighting hint as its mark.
inline constexpr uint32_t kDrawn = kImageTransparent | kImageSaveBackground;
inline constexpr uint32_t kDrawnHidden = kDrawn | kImageHidden;
inline constexpr uint32_t kLampHidden = kDrawnHidden | kImageNoDim;
inline constexpr uint32_t kSetA = kImageLightingHint;

extern GaugeHeader radalt_gauge;
extern StaticElement background;
extern NeedleElement ground_carrier, dh_marker_a, dh_marker_b, height_pointer_a, height_pointer_b;
extern IconElement face_a, face_b, selector_set, selector_off, dh_lamp, bezel_mask, off_flag_a,
    off_flag_b;

// The chain in drawing order; the links are built from it, so entry i is
// element i of the walk from the gauge's header.
constexpr ElementHeader* kChain[] = {
    &background.header,   &ground_carrier.header,   &face_a.header,           &face_b.header,
    &selector_set.header, &selector_off.header,     &dh_lamp.header,          &dh_marker_a.header,
    &dh_marker_b.header,  &height_pointer_a.header, &height_pointer_b.header, &bezel_mask.header,
    &off_flag_a.header,   &off_flag_b.header,
};
static_assert(std::size(kChain) == kElementCount);
static_assert(kChain[kBackground] == &background.header);
static_assert(kChain[kGroundCarrier] == &ground_carrier.header);
static_assert(kChain[kFaceA] == &face_a.header);
static_assert(kChain[kFaceB] == &face_b.header);
static_assert(kChain[kSelectorSet] == &selector_set.header);
static_assert(kChain[kSelectorOff] == &selector_off.header);
static_assert(kChain[kDhLamp] == &dh_lamp.header);
static_assert(kChain[kDhMarkerA] == &dh_marker_a.header);
static_assert(kChain[kDhMarkerB] == &dh_marker_b.header);
static_assert(kChain[kHeightPointerA] == &height_pointer_a.header);
static_assert(kChain[kHeightPointerB] == &height_pointer_b.header);
static_assert(kChain[kBezelMask] == &bezel_mask.header);
static_assert(kChain[kOffFlagA] == &off_flag_a.header);
static_assert(kChain[kOffFlagB] == &off_flag_b.header);

// The next-element list of element i names element i + 1.
template <Element I>
constinit ElementHeader* after[] = {kChain[I + 1], nullptr};

constinit FailureList radalt_failures = failure_list();

// Each needle has its own copy of its table.
using DhMarkerTable = std::array<NeedleEntry, std::size(kDhMarkerTable)>;
using HeightTable = std::array<NeedleEntry, std::size(kHeightTable)>;
constinit DhMarkerTable dh_marker_table_a = kDhMarkerTable;
constinit DhMarkerTable dh_marker_table_b = kDhMarkerTable;
constinit HeightTable height_table_a = kHeightTable;
constinit HeightTable height_table_b = kHeightTable;

constinit StaticElement background =
    static_image(kBitmapBackground, 0, 0, &radalt_gauge, after<kBackground>, kImageTransparent,
                 &radalt_failures);
constinit NeedleElement ground_carrier =
    needle(kBitmapGroundCarrier, kPivot, kPivot, 0, 0, &radalt_gauge, after<kGroundCarrier>,
           kDrawnHidden, &radalt_failures, 2, nullptr, 0, &ground_elevation_value);
constinit IconElement face_a =
    icon(kBitmapFace, 0, 0, &radalt_gauge, after<kFaceA>, kSetA | kImageTransparent);
constinit IconElement face_b =
    icon(kBitmapFace, 0, 0, &radalt_gauge, after<kFaceB>, kImageTransparent);
constinit IconElement selector_set =
    icon(kBitmapSelectorSet, 24, 240, &radalt_gauge, after<kSelectorSet>, kDrawnHidden);
constinit IconElement selector_off =
    icon(kBitmapSelectorOff, 24, 240, &radalt_gauge, after<kSelectorOff>, kDrawn);
constinit IconElement dh_lamp =
    icon(kBitmapDhLamp, 215, 130, &radalt_gauge, after<kDhLamp>, kLampHidden);
constinit NeedleElement dh_marker_a =
    needle(kBitmapDhMarker, kPivot, kPivot, 0, 8, &radalt_gauge, after<kDhMarkerA>, kSetA | kDrawn,
           &radalt_failures, 0, dh_marker_table_a.data(), dh_marker_table_a.size(),
           &decision_height_value);
constinit NeedleElement dh_marker_b =
    needle(kBitmapDhMarker, kPivot, kPivot, 0, 8, &radalt_gauge, after<kDhMarkerB>, kDrawn,
           &radalt_failures, 0, dh_marker_table_b.data(), dh_marker_table_b.size(),
           &decision_height_value);
constinit NeedleElement height_pointer_a =
    needle(kBitmapHeightPointer, kPivot, kPivot, 24, 24, &radalt_gauge, after<kHeightPointerA>,
           kSetA | kDrawn, &radalt_failures, 73, height_table_a.data(), height_table_a.size(),
           &indicated_height_value);
constinit NeedleElement height_pointer_b = needle(
    kBitmapHeightPointer, kPivot, kPivot, 24, 24, &radalt_gauge, after<kHeightPointerB>, kDrawn,
    &radalt_failures, 73, height_table_b.data(), height_table_b.size(), &indicated_height_value);
constinit IconElement bezel_mask = icon(kBitmapBezelMask, 0, 0, &radalt_gauge, after<kBezelMask>,
                                        kImageTransparent, kIconWord, &radalt_failures);
constinit IconElement off_flag_a =
    icon(kBitmapOffFlag, 76, 84, &radalt_gauge, after<kOffFlagA>, kSetA | kDrawnHidden);
constinit IconElement off_flag_b =
    icon(kBitmapOffFlag, 76, 84, &radalt_gauge, nullptr, kDrawnHidden);

constinit ElementHeader* radalt_elements = kChain[kBackground];

constinit MouseRect radalt_mouse[] = {
    mouse_parent(),
    mouse_child(0, 210, 33, 45, kCursorDownArrow, kKnobFlags, &dh_lower_click),
    mouse_child(30, 210, 33, 45, kCursorUpArrow, kKnobFlags, &dh_raise_click),
    mouse_child(30, 270, 26, 15, kCursorUpArrow, kKnobFlags, &dh_select_set_click),
    mouse_child(43, 258, 26, 15, kCursorDownArrow, kKnobFlags, &dh_select_off_click),
    mouse_end_of_parent(),
    mouse_end_of_list(),
};

constinit GaugeHeader radalt_gauge = gauge_header<Linkage>(
    "radalt", &radalt_elements, kDefaultSizeMm, radalt_mouse, &radalt_gauge_callback);

}  // namespace radalt

extern "C" {
GAUGE_EXPORT constinit LinkageRecord<1> Linkage = {
    kLinkageId, &module_init, &module_init, {0, 0, 0}, {&radalt::radalt_gauge, nullptr}};
}
