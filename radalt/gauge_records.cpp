// The "radalt" gauge as the host reads it: fourteen elements in drawing
// order, four click areas under the dial, and the module's Linkage.
#include <array>

#include "frame/record_builders.h"
#include "radalt/needle_tables.h"
#include "radalt/radalt_elements.h"
#include "radalt/radalt_gauge.h"

using namespace frame;

extern "C" GAUGE_EXPORT LinkageRecord<1> Linkage;

namespace radalt {

inline constexpr uint32_t kDefaultSizeMm = 38;
inline constexpr int32_t kPivot = 151;
inline constexpr uint32_t kSetA = kImageLightingHint;  // marks the set A element of each pair
inline constexpr uint32_t kKnobFlags = kMouseLeftSingle | kMouseRepeatWhileHeld;

extern GaugeHeader radalt_gauge;

constinit FailureList radalt_failures = failure_list();

// Each needle has its own copy of its table.
constinit std::array<NeedleEntry, 51> dh_marker_table_a = kDhMarkerTable;
constinit std::array<NeedleEntry, 51> dh_marker_table_b = kDhMarkerTable;
constinit std::array<NeedleEntry, 12> height_table_a = kHeightTable;
constinit std::array<NeedleEntry, 12> height_table_b = kHeightTable;

constinit ElementHeader* after_background[] = {kChain[1], nullptr};
constinit ElementHeader* after_ground_carrier[] = {kChain[2], nullptr};
constinit ElementHeader* after_face_a[] = {kChain[3], nullptr};
constinit ElementHeader* after_face_b[] = {kChain[4], nullptr};
constinit ElementHeader* after_selector_set[] = {kChain[5], nullptr};
constinit ElementHeader* after_selector_off[] = {kChain[6], nullptr};
constinit ElementHeader* after_dh_lamp[] = {kChain[7], nullptr};
constinit ElementHeader* after_dh_marker_a[] = {kChain[8], nullptr};
constinit ElementHeader* after_dh_marker_b[] = {kChain[9], nullptr};
constinit ElementHeader* after_height_pointer_a[] = {kChain[10], nullptr};
constinit ElementHeader* after_height_pointer_b[] = {kChain[11], nullptr};
constinit ElementHeader* after_bezel_mask[] = {kChain[12], nullptr};
constinit ElementHeader* after_off_flag_a[] = {kChain[13], nullptr};

constinit StaticElement background =
    static_image(20507, 0, 0, &radalt_gauge, after_background, kImageTransparent, &radalt_failures);
constinit NeedleElement ground_carrier =
    needle(20509, kPivot, kPivot, 0, 0, &radalt_gauge, after_ground_carrier, 0x40000003,
           &radalt_failures, 2, nullptr, 0, &ground_elevation_value);
constinit IconElement face_a =
    icon(20511, 0, 0, &radalt_gauge, after_face_a, kSetA | kImageTransparent);
constinit IconElement face_b = icon(20511, 0, 0, &radalt_gauge, after_face_b, kImageTransparent);
constinit IconElement selector_set =
    icon(20515, 24, 240, &radalt_gauge, after_selector_set, 0x40000003);
constinit IconElement selector_off = icon(20514, 24, 240, &radalt_gauge, after_selector_off, 0x3);
constinit IconElement dh_lamp = icon(20516, 215, 130, &radalt_gauge, after_dh_lamp, 0x40000007);
constinit NeedleElement dh_marker_a =
    needle(20510, kPivot, kPivot, 0, 8, &radalt_gauge, after_dh_marker_a, kSetA | 0x3,
           &radalt_failures, 0, dh_marker_table_a.data(), 51, &decision_height_value);
constinit NeedleElement dh_marker_b =
    needle(20510, kPivot, kPivot, 0, 8, &radalt_gauge, after_dh_marker_b, 0x3, &radalt_failures, 0,
           dh_marker_table_b.data(), 51, &decision_height_value);
constinit NeedleElement height_pointer_a =
    needle(20508, kPivot, kPivot, 24, 24, &radalt_gauge, after_height_pointer_a, kSetA | 0x3,
           &radalt_failures, 73, height_table_a.data(), 12, &indicated_height_value);
constinit NeedleElement height_pointer_b =
    needle(20508, kPivot, kPivot, 24, 24, &radalt_gauge, after_height_pointer_b, 0x3,
           &radalt_failures, 73, height_table_b.data(), 12, &indicated_height_value);
constinit IconElement bezel_mask = icon(20512, 0, 0, &radalt_gauge, after_bezel_mask,
                                        kImageTransparent, kIconWord, &radalt_failures);
constinit IconElement off_flag_a =
    icon(20513, 76, 84, &radalt_gauge, after_off_flag_a, kImageHidden | kSetA | 0x3);
constinit IconElement off_flag_b = icon(20513, 76, 84, &radalt_gauge, nullptr, 0x40000003);

static_assert(std::size(kChain) == 14);
constinit ElementHeader* radalt_elements = kChain[0];

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
