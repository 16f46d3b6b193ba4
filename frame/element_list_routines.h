#pragma once
// The seven element-list routines every gauge header of a module points at.
// They receive no header, so they act on the first gauge of the module's
// Linkage and pass its first element to the host's element-list service.
#include <cstdint>

#include "frame/host_services.h"
#include "frame/records.h"

namespace frame {

template <auto& ModuleLinkage>
struct ElementListRoutines {
  static ElementHeader* first_element() { return *ModuleLinkage.gauges[0]->element_list; }

  static void GAUGE_CALL query() { host_element_list(kSlotQuery, first_element()); }
  static void GAUGE_CALL install(uint32_t arg) {
    host_element_list_arg(kSlotInstall, first_element(), arg);
  }
  static void GAUGE_CALL initialize() { host_element_list(kSlotInitialize, first_element()); }
  static void GAUGE_CALL update() { host_element_list(kSlotUpdate, first_element()); }
  static void GAUGE_CALL generate(uint32_t arg) {
    host_element_list_arg(kSlotGenerate, first_element(), arg);
  }
  static void GAUGE_CALL draw() { host_element_list(kSlotDraw, first_element()); }
  static void GAUGE_CALL kill() { host_element_list(kSlotKill, first_element()); }
};

// The module init and deinit routine: the module has no start-up of its own.
void GAUGE_CALL module_init();

}  // namespace frame
