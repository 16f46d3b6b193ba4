// The services the panel host serves to module code (host/service_table.h)
// and the stand-in sound library's reports of each call: each one is an
// event of the log and, for the named variables, a change the host keeps.
#include <cstring>

#include "fssound/fssound_host.h"
#include "host/module_scope.h"
#include "host/panel_host.h"

namespace host {
namespace {

EventKind sound_event_kind(uint32_t operation) {
  switch (operation) {
    case kFSSoundLoad:
      return EventKind::kSoundLoad;
    case kFSSoundPlay:
      return EventKind::kSoundPlay;
    case kFSSoundStop:
      return EventKind::kSoundStop;
    default:
      return EventKind::kSoundUnload;
  }
}

}  // namespace

void PanelHost::stream_active_changed(void* host, bool active) {
  auto* self = static_cast<PanelHost*>(host);
  FSSound_HostReport(active ? 1 : 0);
  if (!active) return;
  self->element_watch_.mark_seen();
  self->named_.mark_seen();
}

void GAUGE_CALL PanelHost::sound_call(void* host, const FSSoundCall* call) {
  auto* self = static_cast<PanelHost*>(host);
  self->events_.publish(sound_event_kind(call->operation), [&](Event& e) {
    e.code = call->handle;
    e.arg = call->loop;
    e.result = call->result;
    e.text = self->sound_path_text(*call);
  });
}

// A handle's path stays the same while it is loaded, and the stand-in never
// gives a handle out twice: played and stopped every frame, it is interned
// once. A load's path is the module's, so it is interned each time.
const char* PanelHost::sound_path_text(const FSSoundCall& call) {
  if (call.path == nullptr) return nullptr;
  if (call.operation == kFSSoundLoad) return events_.intern(call.path);
  for (const SoundPath& known : sound_paths_) {
    if (known.handle == call.handle && known.library_path == call.path) return known.text;
  }
  const char* text = events_.intern(call.path);
  sound_paths_.push_back({call.handle, call.path, text});
  return text;
}

void PanelHost::name_element(Event& event, RecordRef element) {
  for (const GaugeInstance& gauge : gauges_) {
    for (size_t i = 0; i < gauge.elements.size(); ++i) {
      if (gauge.elements[i].record == element) {
        event.label = gauge.event_label;
        event.element = static_cast<uint32_t>(i);
        return;
      }
    }
    // A copied gauge's template, which the element-list routines name.
    for (size_t i = 0; i < gauge.template_elements.size(); ++i) {
      if (gauge.template_elements[i] == element) {
        event.label = gauge.event_label;
        event.element = static_cast<uint32_t>(i);
        return;
      }
    }
  }
  event.text = events_.intern(element == 0 ? "null" : "?");
}

void PanelHost::element_list_service(uint32_t slot, RecordRef first, const uint32_t* arg) {
  InHost in_host;
  if (!events_.active()) return;
  events_.publish(EventKind::kElementList, [&](Event& e) {
    e.code = slot;
    name_element(e, first);
    if (arg != nullptr) {
      e.has_arg = true;
      e.arg = *arg;
    }
  });
}

void PanelHost::key_event(uint32_t event_id, uint32_t value) {
  InHost in_host;
  if (!events_.active()) return;
  events_.publish(EventKind::kKeyEvent, [&](Event& e) {
    e.code = event_id;
    e.arg = value;
  });
}

void PanelHost::register_variable(RecordRef storage, uint32_t type_code, const char* name) {
  InHost in_host;
  if (events_.active()) {
    events_.publish(EventKind::kRegister, [&](Event& e) {
      e.code = type_code;
      e.text = name == nullptr ? nullptr : events_.intern(name);
    });
  }
  if (name != nullptr) named_.register_storage(name, storage, type_code);
}

void PanelHost::link_variable(RecordRef var, const char* name) {
  InHost in_host;
  const RecordRef storage = name == nullptr ? 0 : named_.find(name);
  if (events_.active()) {
    events_.publish(EventKind::kLink, [&](Event& e) {
      e.text = name == nullptr ? nullptr : events_.intern(name);
      e.result = storage != 0 ? 1 : 0;
    });
  }
  if (var != 0) space_->write_ref(var + space_->layout().var_pointer, storage);
}

void PanelHost::lookup_variable(RecordRef var) {
  // Gauges look up many variables a frame: when neither a reader nor a call
  // hook is watching, serving the value is all there is to do.
  if (module_call_hook == nullptr && !events_.active()) {
    if (var != 0) sim_.write_value(*space_, var);
    return;
  }
  InHost in_host;
  if (var == 0) return;
  const uint32_t token = sim_.write_value(*space_, var);
  if (!events_.active()) return;
  events_.publish(EventKind::kLookup, [&](Event& e) {
    e.code = token;
    e.value = sim_.get(token);
  });
}

void PanelHost::unregister_variable(const char* name) {
  InHost in_host;
  if (events_.active()) {
    events_.publish(EventKind::kUnregister,
                    [&](Event& e) { e.text = name == nullptr ? nullptr : events_.intern(name); });
  }
  if (name != nullptr) named_.unregister(name);
}

void PanelHost::stray_service(uint32_t slot) {
  InHost in_host;
  if (!events_.active()) return;
  events_.publish(EventKind::kStraySlot, [&](Event& e) { e.code = slot; });
}

}  // namespace host
