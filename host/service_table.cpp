#include "host/service_table.h"

#include <utility>

namespace host {
namespace {

ServiceSink* active_sink = nullptr;

template <typename T>
RecordRef ref(T* record) {
  return static_cast<RecordRef>(reinterpret_cast<uintptr_t>(record));
}

template <uint32_t Slot>
void GAUGE_CALL element_list(frame::ElementHeader* first) {
  if (active_sink != nullptr) active_sink->element_list_service(Slot, ref(first), nullptr);
}

template <uint32_t Slot>
void GAUGE_CALL element_list_arg(frame::ElementHeader* first, uint32_t arg) {
  if (active_sink != nullptr) active_sink->element_list_service(Slot, ref(first), &arg);
}

void GAUGE_CALL key_event(uint32_t event_id, uint32_t value) {
  if (active_sink != nullptr) active_sink->key_event(event_id, value);
}

void GAUGE_CALL register_variable(void* storage, uint32_t type_code, const char* name) {
  if (active_sink != nullptr) active_sink->register_variable(ref(storage), type_code, name);
}

void GAUGE_CALL link_variable(frame::ModuleVar* var, const char* name) {
  if (active_sink != nullptr) active_sink->link_variable(ref(var), name);
}

void GAUGE_CALL lookup_variable(frame::ModuleVar* var) {
  if (active_sink != nullptr) active_sink->lookup_variable(ref(var));
}

void GAUGE_CALL unregister_variable(const char* name) {
  if (active_sink != nullptr) active_sink->unregister_variable(name);
}

// A slot no module of ours should call. It cannot know how many arguments
// its caller pushed, so it only reports itself.
template <uint32_t Slot>
void GAUGE_CALL stray() {
  if (active_sink != nullptr) active_sink->stray_service(Slot);
}

template <typename Routine>
frame::ModuleRoutine as_slot(Routine routine) {
  return reinterpret_cast<frame::ModuleRoutine>(routine);
}

template <uint32_t... Slot>
frame::HostServiceTable stray_table(std::integer_sequence<uint32_t, Slot...>) {
  return frame::HostServiceTable{{&stray<Slot>...}};
}

frame::HostServiceTable build_table() {
  frame::HostServiceTable table =
      stray_table(std::make_integer_sequence<uint32_t, frame::kServiceSlotCount>());
  table.slot[frame::kSlotQuery] = as_slot(&element_list<frame::kSlotQuery>);
  table.slot[frame::kSlotInstall] = as_slot(&element_list_arg<frame::kSlotInstall>);
  table.slot[frame::kSlotInitialize] = as_slot(&element_list<frame::kSlotInitialize>);
  table.slot[frame::kSlotUpdate] = as_slot(&element_list<frame::kSlotUpdate>);
  table.slot[frame::kSlotGenerate] = as_slot(&element_list_arg<frame::kSlotGenerate>);
  table.slot[frame::kSlotDraw] = as_slot(&element_list<frame::kSlotDraw>);
  table.slot[frame::kSlotKill] = as_slot(&element_list<frame::kSlotKill>);
  table.slot[frame::kSlotKeyEvent] = as_slot(&key_event);
  table.slot[frame::kSlotRegisterVariable] = as_slot(&register_variable);
  table.slot[frame::kSlotLinkVariable] = as_slot(&link_variable);
  table.slot[frame::kSlotLookupVariable] = as_slot(&lookup_variable);
  table.slot[frame::kSlotUnregisterVariable] = as_slot(&unregister_variable);
  return table;
}

}  // namespace

frame::HostServiceTable* service_table() {
  static frame::HostServiceTable table = build_table();
  return &table;
}

void set_service_sink(ServiceSink* sink) {
  active_sink = sink;
}

ServiceSink* service_sink() {
  return active_sink;
}

}  // namespace host
