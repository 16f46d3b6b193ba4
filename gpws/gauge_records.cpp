// The gauges of vrn_gpws as the host reads them, and the module's Linkage.
#include <iterator>

#include "frame/bitmap_entry.h"
#include "frame/record_builders.h"
#include "gpws/annunciators.h"
#include "gpws/gpws_bitmaps.h"
#include "gpws/gpws_elements.h"
#include "gpws/self_test.h"
#include "gpws/test_button_gauge.h"

using namespace frame;

extern "C" GAUGE_EXPORT LinkageRecord<4> Linkage;

namespace gpws {

inline constexpr uint32_t kDefaultSizeMm = 38;
inline constexpr uint32_t kTestIconWord = 2;
inline constexpr uint32_t kLampFlags =
    kImageHidden | kImageNoDim | kImageSaveBackground | kImageTransparent;

// "test": the button unlit, the lit face flashed by the warning cycle, and
// the lit face drawn larger for the self-test.
extern GaugeHeader test_button_gauge;
extern StaticElement test_button;
extern IconElement test_warning_lamp, test_self_test_lamp;

// Each chain in drawing order; the links are built from it, so entry i is
// element i of the walk from the gauge's header.
constexpr ElementHeader* kTestChain[] = {&test_button.header, &test_warning_lamp.header,
                                         &test_self_test_lamp.header};
static_assert(std::size(kTestChain) == kTestElementCount);
static_assert(kTestChain[kElementButton] == &test_button.header);
static_assert(kTestChain[kElementWarningLamp] == &test_warning_lamp.header);
static_assert(kTestChain[kElementTestLamp] == &test_self_test_lamp.header);

constinit FailureList test_failures = failure_list();
constinit ElementHeader* after_test_button[] = {kTestChain[kElementWarningLamp], nullptr};
constinit ElementHeader* after_test_warning_lamp[] = {kTestChain[kElementTestLamp], nullptr};

constinit StaticElement test_button =
    static_image(kBitmapTestButton, 0, 0, &test_button_gauge, after_test_button, kImageTransparent);
constinit IconElement test_warning_lamp = icon(kBitmapTestWarningLens, 6, 6, &test_button_gauge,
                                               after_test_warning_lamp, kLampFlags, kTestIconWord);
constinit IconElement test_self_test_lamp = icon(
    kBitmapTestSelfTestLens, 5, 5, &test_button_gauge, nullptr, kLampFlags, kTestIconWord, &test_failures);

constinit ElementHeader* test_elements = kTestChain[kElementButton];

// The whole button is the click area.
inline constexpr const BitmapEntry& kTestButtonPicture = bitmap_entry(kBitmaps, kBitmapTestButton);
constinit MouseRect test_mouse[] = {
    mouse_parent(),
    mouse_child(0, 0, kTestButtonPicture.width, kTestButtonPicture.height, kCursorHand,
                kMouseLeftSingle, &test_switch_click),
    mouse_end_of_parent(),
    mouse_end_of_list(),
};

constinit GaugeHeader test_button_gauge = gauge_header<Linkage>(
    "test", &test_elements, kDefaultSizeMm, test_mouse, &test_button_callback);

// "below", "inop" and "fi": a lamp background and its lit face each.
inline constexpr uint32_t kBackgroundFlags = kImageTransparent | kImageSaveBackground;

extern GaugeHeader below_gauge;
extern GaugeHeader inop_gauge;
extern GaugeHeader fi_gauge;
extern StaticElement below_background, inop_background, fi_background;
extern IconElement below_lit, inop_lit, fi_lit;

constexpr ElementHeader* kBelowChain[] = {&below_background.header, &below_lit.header};
constexpr ElementHeader* kInopChain[] = {&inop_background.header, &inop_lit.header};
constexpr ElementHeader* kFiChain[] = {&fi_background.header, &fi_lit.header};
static_assert(std::size(kBelowChain) == kLampElementCount);
static_assert(std::size(kInopChain) == kLampElementCount);
static_assert(std::size(kFiChain) == kLampElementCount);
static_assert(kBelowChain[kElementLitLamp] == &below_lit.header);
static_assert(kInopChain[kElementLitLamp] == &inop_lit.header);
static_assert(kFiChain[kElementLitLamp] == &fi_lit.header);

[[gnu::used]] constinit FailureList below_failures = failure_list();
[[gnu::used]] constinit FailureList inop_failures = failure_list();
[[gnu::used]] constinit FailureList fi_failures = failure_list();

constinit ElementHeader* after_below_background[] = {kBelowChain[kElementLitLamp], nullptr};
constinit StaticElement below_background = static_image(kBitmapBelowBackground, 0, 0, &below_gauge,
                                                        after_below_background, kBackgroundFlags);
constinit IconElement below_lit = icon(kBitmapBelowLit, 6, 5, &below_gauge, nullptr, kLampFlags);
constinit ElementHeader* below_elements = kBelowChain[kElementLampBackground];

constinit ElementHeader* after_inop_background[] = {kInopChain[kElementLitLamp], nullptr};
constinit StaticElement inop_background =
    static_image(kBitmapInopBackground, 0, 0, &inop_gauge, after_inop_background, kBackgroundFlags);
constinit IconElement inop_lit = icon(kBitmapInopLit, 6, 5, &inop_gauge, nullptr, kLampFlags);
constinit ElementHeader* inop_elements = kInopChain[kElementLampBackground];

constinit ElementHeader* after_fi_background[] = {kFiChain[kElementLitLamp], nullptr};
constinit StaticElement fi_background =
    static_image(kBitmapFiBackground, 0, 0, &fi_gauge, after_fi_background, kBackgroundFlags);
constinit IconElement fi_lit = icon(kBitmapFiLit, 4, 4, &fi_gauge, nullptr, kLampFlags);
constinit ElementHeader* fi_elements = kFiChain[kElementLampBackground];

constinit MouseRect below_mouse[] = {mouse_parent(), mouse_end_of_parent(), mouse_end_of_list()};
constinit MouseRect inop_mouse[] = {mouse_parent(), mouse_end_of_parent(), mouse_end_of_list()};
// The whole lamp is the flap inhibit switch.
inline constexpr const BitmapEntry& kFiPicture = bitmap_entry(kBitmaps, kBitmapFiBackground);
constinit MouseRect fi_mouse[] = {
    mouse_parent(),
    mouse_child(0, 0, kFiPicture.width, kFiPicture.height, kCursorHand, kMouseLeftSingle,
                &flap_inhibit_click),
    mouse_end_of_parent(),
    mouse_end_of_list(),
};

constinit GaugeHeader below_gauge = gauge_header<Linkage>("below", &below_elements, kDefaultSizeMm,
                                                          below_mouse, &below_gauge_callback);
constinit GaugeHeader inop_gauge =
    gauge_header<Linkage>("inop", &inop_elements, kDefaultSizeMm, inop_mouse, &inop_gauge_callback);
constinit GaugeHeader fi_gauge =
    gauge_header<Linkage>("fi", &fi_elements, kDefaultSizeMm, fi_mouse, &fi_gauge_callback);

}  // namespace gpws

extern "C" {
GAUGE_EXPORT constinit LinkageRecord<4> Linkage = {
    kLinkageId,
    &module_init,
    &module_init,
    {0, 0, 0},
    {&gpws::test_button_gauge, &gpws::below_gauge, &gpws::inop_gauge, &gpws::fi_gauge, nullptr}};
}
