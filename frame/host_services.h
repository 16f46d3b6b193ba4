#pragma once
// One wrapper per host service. Each reads the service table pointer from
// ImportTable afresh, calls its slot and returns; no result is read.
#include <cstdint>

#include "frame/records.h"

extern "C" GAUGE_EXPORT frame::ImportTableRecord ImportTable;

namespace frame {

void host_element_list(ElementListSlot slot, ElementHeader* first);
void host_element_list_arg(ElementListSlot slot, ElementHeader* first, uint32_t arg);
void host_key_event(uint32_t event_id, uint32_t value);
void host_register_variable(void* storage, uint32_t type_code, const char* name);
void host_link_variable(ModuleVar* var, const char* name);
void host_lookup_variable(ModuleVar* var);
void host_unregister_variable(const char* name);

}  // namespace frame
