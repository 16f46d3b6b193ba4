#include "gpws/annunciators.h"

#include "frame/element_walk.h"
#include "gpws/gpws_elements.h"
#include "gpws/gpws_state.h"
#include "gpws/voices.h"

namespace gpws {
namespace {

// Every update, changed or not: lit only while the field is exactly 1.
void show_lamp(frame::GaugeHeader* gauge, uint16_t field) {
  if (field == 1) {
    frame::show(gauge, kElementLitLamp);
  } else {
    frame::hide(gauge, kElementLitLamp);
  }
}

}  // namespace

void GAUGE_CALL below_gauge_callback(frame::GaugeHeader* gauge, uint32_t service,
                                     uint32_t /*extra*/) {
  if (service == frame::kServiceUpdate) show_lamp(gauge, gpws_state.below_gs_lamp);
}

void GAUGE_CALL inop_gauge_callback(frame::GaugeHeader* gauge, uint32_t service,
                                    uint32_t /*extra*/) {
  if (service == frame::kServiceUpdate) show_lamp(gauge, gpws_state.inop_lamp);
}

// The selection takes effect at the next "fi" update, not at the click.
void GAUGE_CALL fi_gauge_callback(frame::GaugeHeader* gauge, uint32_t service,
                                  uint32_t /*extra*/) {
  if (service != frame::kServiceUpdate) return;
  GpwsState& s = gpws_state;
  s.flap_inhibit_active = s.flap_inhibit_selected == 1 ? 1 : 0;
  show_lamp(gauge, s.flap_inhibit_active);
}

// The click sound first, then the toggle, whether or not the sound played.
uint32_t GAUGE_CALL flap_inhibit_click(void* /*position*/, uint32_t /*flags*/) {
  play_voice(kSlotSwitchClick);
  GpwsState& s = gpws_state;
  s.flap_inhibit_selected = s.flap_inhibit_selected == 0 ? 1 : 0;
  return 0;
}

}  // namespace gpws
