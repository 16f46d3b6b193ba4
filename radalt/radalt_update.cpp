// The "radalt" gauge callback: links at initialize, and on every update the
// DH alert, the named variables, the key events and which elements show.
#include <cstring>

#include "frame/element_walk.h"
#include "frame/host_facts.h"
#include "frame/host_services.h"
#include "frame/module_var.h"
#include "radalt/radalt_elements.h"
#include "radalt/radalt_gauge.h"
#include "radalt/radalt_state.h"

namespace radalt {
namespace {

using frame::GaugeHeader;
using frame::ModuleVar;

constexpr int32_t kAlertResetMarginM = 10;

constinit ModuleVar variant_var{facts::token::kDisplayVariant, nullptr, 0, 0.0, {}};
constinit ModuleVar on_ground_var{facts::token::kOnGround, nullptr, 0, 0.0, {}};
constinit ModuleVar ground_test_var{facts::token::kGroundTest, nullptr, 0, 0.0, {}};
constinit ModuleVar off_flag_var{facts::token::kRadaltOffFlag, nullptr, 0, 0.0, {}};
constinit ModuleVar radalt_gpws_link{};
constinit ModuleVar radalt_adi_link{};

// Named variables are written only while someone has registered them.
void write_link(const ModuleVar& link, int32_t value) {
  if (link.pointer != nullptr) std::memcpy(link.pointer, &value, sizeof value);
}

// Elements are switched in the chain of the header the host passed, which
// may be the host's own copy of the module's records.
void show_one_of(GaugeHeader* gauge, bool first, Element a, Element b) {
  if (first) {
    frame::show(gauge, a);
    frame::hide(gauge, b);
  } else {
    frame::hide(gauge, a);
    frame::show(gauge, b);
  }
}

void initialize() {
  frame::host_link_variable(&radalt_gpws_link, facts::kVarRadaltGpws);
  frame::host_link_variable(&radalt_adi_link, facts::kVarRadaltAdi);
}

// Step 3: one shot; the pilot must select SET again to re-arm.
void dh_reached(GaugeHeader* gauge) {
  RadaltState& s = radalt_state;
  if (s.dh_armed != 1 || s.indicated_height_m > s.decision_height_m) return;
  s.dh_armed = 0;
  s.dh_alert_latched = 1;
  write_link(radalt_gpws_link, 1);
  frame::host_key_event(facts::kKeyDhReached, 0);
  frame::show(gauge, kDhLamp);
}

// Step 4: the alert clears more than 10 m above the DH.
void dh_reset(GaugeHeader* gauge) {
  RadaltState& s = radalt_state;
  if (s.dh_alert_latched != 1 ||
      int64_t{s.indicated_height_m} <= int64_t{s.decision_height_m} + kAlertResetMarginM) {
    return;
  }
  s.dh_alert_latched = 0;
  write_link(radalt_gpws_link, 0);
  frame::hide(gauge, kDhLamp);
}

// Step 6: on the ground the GPWS is told nothing; tokens 60 and 103 together
// send the ground test event.
void on_ground() {
  if (frame::lookup_f64(on_ground_var) != 1.0) return;
  if (frame::lookup_f64(ground_test_var) == 1.0) frame::host_key_event(facts::kKeyGroundTest, 0);
  write_link(radalt_gpws_link, 0);
}

// Step 7: the OFF flag is in view without power or while token 279 says so.
// The power is the value step 1 looked up.
void off_flag(GaugeHeader* gauge, bool variant_a) {
  bool off = frame::lookup_i32(off_flag_var) != 0 || power_var.value == 0.0;
  if (!off) {
    frame::hide(gauge, kOffFlagA);
    frame::hide(gauge, kOffFlagB);
    return;
  }
  show_one_of(gauge, variant_a, kOffFlagA, kOffFlagB);
}

// Step 8: face, DH marker and pointer of one set.
void variant_set(GaugeHeader* gauge, bool variant_a) {
  show_one_of(gauge, variant_a, kFaceA, kFaceB);
  show_one_of(gauge, variant_a, kDhMarkerA, kDhMarkerB);
  show_one_of(gauge, variant_a, kHeightPointerA, kHeightPointerB);
}

void update(GaugeHeader* gauge) {
  frame::host_lookup_variable(&power_var);                                     // 1
  const bool variant_a = frame::lookup_f64(variant_var) == 1.0;                // 1
  write_link(radalt_adi_link, radalt_state.decision_height_ft);                // 2
  dh_reached(gauge);                                                           // 3
  dh_reset(gauge);                                                             // 4
  show_one_of(gauge, radalt_state.dh_armed == 1, kSelectorSet, kSelectorOff);  // 5
  on_ground();                                                                 // 6
  off_flag(gauge, variant_a);                                                  // 7
  variant_set(gauge, variant_a);                                               // 8
}

}  // namespace

void GAUGE_CALL radalt_gauge_callback(GaugeHeader* gauge, uint32_t service, uint32_t /*extra*/) {
  switch (service) {
    case frame::kServiceInitialize:
      initialize();
      break;
    case frame::kServiceUpdate:
      update(gauge);
      break;
    default:
      break;
  }
}

}  // namespace radalt
