// The "XML-Sound" gauge as the host reads it: header, element chain, mouse
// rectangles and the module's Linkage. Three all-black pictures, nothing ever
// switched, one click area.
#include "cabsound/cabsound_bitmaps.h"
#include "cabsound/xml_sound.h"
#include "frame/record_builders.h"

using namespace frame;

extern "C" GAUGE_EXPORT LinkageRecord<1> Linkage;

namespace cabsound {

inline constexpr uint32_t kDefaultSizeMm = 20;

extern GaugeHeader xml_sound_gauge;
extern IconElement icon_shown;
extern IconElement icon_hidden;

// Defined for the host although no element points at it.
[[gnu::used]] constinit FailureList xml_sound_failures = failure_list();

constinit ElementHeader* after_background[] = {&icon_shown.header, nullptr};
constinit ElementHeader* after_icon_shown[] = {&icon_hidden.header, nullptr};

constinit StaticElement background =
    static_image(kBitmapBackground, 0, 0, &xml_sound_gauge, after_background,
                 kImageTransparent | kImageSaveBackground);
constinit IconElement icon_shown = icon(kBitmapIcon, 0, 0, &xml_sound_gauge, after_icon_shown,
                                        kImageTransparent | kImageSaveBackground);
constinit IconElement icon_hidden = icon(kBitmapIconHidden, 0, 0, &xml_sound_gauge, nullptr,
                                         kImageHidden | kImageTransparent | kImageSaveBackground);

constinit ElementHeader* xml_sound_elements = &background.header;

constinit MouseRect xml_sound_mouse[] = {
    mouse_parent(),
    mouse_child(0, 0, 43, 73, kCursorUpArrow, kMouseLeftSingle, &xml_sound_click),
    mouse_end_of_parent(),
    mouse_end_of_list(),
};

constinit GaugeHeader xml_sound_gauge = gauge_header<Linkage>(
    "XML-Sound", &xml_sound_elements, kDefaultSizeMm, xml_sound_mouse, &xml_sound_callback);

}  // namespace cabsound

extern "C" {
GAUGE_EXPORT constinit LinkageRecord<1> Linkage = {
    kLinkageId, &module_init, &module_init, {0, 0, 0}, {&cabsound::xml_sound_gauge, nullptr}};
}
