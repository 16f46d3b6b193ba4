#include "frame/host_services.h"

// Identifies the service table this module asks for; the host fills in dword 1.
extern "C" {
GAUGE_EXPORT constinit frame::ImportTableRecord ImportTable = {
    frame::kImportTableId, nullptr, {0, 0}};
}

namespace frame {
namespace {

template <typename Routine>
Routine service(uint32_t slot) {
  return reinterpret_cast<Routine>(ImportTable.services->slot[slot]);
}

using ElementService = void(GAUGE_CALL*)(ElementHeader*);
using ElementArgService = void(GAUGE_CALL*)(ElementHeader*, uint32_t);
using KeyEventService = void(GAUGE_CALL*)(uint32_t, uint32_t);
using RegisterService = void(GAUGE_CALL*)(void*, uint32_t, const char*);
using LinkService = void(GAUGE_CALL*)(ModuleVar*, const char*);
using LookupService = void(GAUGE_CALL*)(ModuleVar*);
using UnregisterService = void(GAUGE_CALL*)(const char*);

}  // namespace

void host_element_list(ElementListSlot slot, ElementHeader* first) {
  service<ElementService>(slot)(first);
}

void host_element_list_arg(ElementListSlot slot, ElementHeader* first, uint32_t arg) {
  service<ElementArgService>(slot)(first, arg);
}

void host_key_event(uint32_t event_id, uint32_t value) {
  service<KeyEventService>(kSlotKeyEvent)(event_id, value);
}

void host_register_variable(void* storage, uint32_t type_code, const char* name) {
  service<RegisterService>(kSlotRegisterVariable)(storage, type_code, name);
}

void host_link_variable(ModuleVar* var, const char* name) {
  service<LinkService>(kSlotLinkVariable)(var, name);
}

void host_lookup_variable(ModuleVar* var) {
  service<LookupService>(kSlotLookupVariable)(var);
}

void host_unregister_variable(const char* name) {
  service<UnregisterService>(kSlotUnregisterVariable)(name);
}

}  // namespace frame
