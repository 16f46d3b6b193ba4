#pragma once
// One wrapper per host service. Each reads the service table pointer from
// ImportTable afresh, calls its slot and returns; no result is read. They are
// inline, so that a call of a service costs the module no call of its own.
#include <cstdint>

#include "frame/records.h"

extern "C" GAUGE_EXPORT frame::ImportTableRecord ImportTable;

namespace frame {

namespace service_detail {

template <typename Routine>
inline Routine service(uint32_t slot) {
  return reinterpret_cast<Routine>(ImportTable.services->slot[slot]);
}

using ElementService = void(GAUGE_CALL*)(ElementHeader*);
using ElementArgService = void(GAUGE_CALL*)(ElementHeader*, uint32_t);
using KeyEventService = void(GAUGE_CALL*)(uint32_t, uint32_t);
using RegisterService = void(GAUGE_CALL*)(void*, uint32_t, const char*);
using LinkService = void(GAUGE_CALL*)(ModuleVar*, const char*);
using LookupService = void(GAUGE_CALL*)(ModuleVar*);
using UnregisterService = void(GAUGE_CALL*)(const char*);

}  // namespace service_detail

inline void host_element_list(ElementListSlot slot, ElementHeader* first) {
  service_detail::service<service_detail::ElementService>(slot)(first);
}

inline void host_element_list_arg(ElementListSlot slot, ElementHeader* first, uint32_t arg) {
  service_detail::service<service_detail::ElementArgService>(slot)(first, arg);
}

inline void host_key_event(uint32_t event_id, uint32_t value) {
  service_detail::service<service_detail::KeyEventService>(kSlotKeyEvent)(event_id, value);
}

inline void host_register_variable(void* storage, uint32_t type_code, const char* name) {
  service_detail::service<service_detail::RegisterService>(kSlotRegisterVariable)(storage,
                                                                                  type_code, name);
}

inline void host_link_variable(ModuleVar* var, const char* name) {
  service_detail::service<service_detail::LinkService>(kSlotLinkVariable)(var, name);
}

inline void host_lookup_variable(ModuleVar* var) {
  service_detail::service<service_detail::LookupService>(kSlotLookupVariable)(var);
}

inline void host_unregister_variable(const char* name) {
  service_detail::service<service_detail::UnregisterService>(kSlotUnregisterVariable)(name);
}

}  // namespace frame
