#pragma once
// The host service table the modules call into. Every slot the modules use
// forwards to the one active ServiceSink; every other slot reports its number,
// so a stray call shows up in the log instead of jumping nowhere.
#include <cstdint>

#include "frame/records.h"

namespace host {

class ServiceSink {
 public:
  virtual ~ServiceSink() = default;
  virtual void element_list_service(uint32_t slot, frame::ElementHeader* first,
                                    const uint32_t* arg) = 0;
  virtual void key_event(uint32_t event_id, uint32_t value) = 0;
  virtual void register_variable(void* storage, uint32_t type_code, const char* name) = 0;
  virtual void link_variable(frame::ModuleVar* var, const char* name) = 0;
  virtual void lookup_variable(frame::ModuleVar* var) = 0;
  virtual void unregister_variable(const char* name) = 0;
  virtual void stray_service(uint32_t slot) = 0;
};

// The table whose address the host writes into each module's ImportTable.
frame::HostServiceTable* service_table();
void set_service_sink(ServiceSink* sink);

}  // namespace host
