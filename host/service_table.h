#pragma once
// The host service table the modules call into. Every slot the modules use
// forwards to the one active ServiceSink; every other slot reports its number,
// so a stray call shows up in the log instead of jumping nowhere.
#include <cstdint>

#include "frame/records.h"
#include "host/record_layout.h"

namespace host {

// What module code asked of the host, whichever space it runs in: records
// are named by reference (see ModuleSpace), strings are read by the table.
class ServiceSink {
 public:
  virtual ~ServiceSink() = default;
  virtual void element_list_service(uint32_t slot, RecordRef first, const uint32_t* arg) = 0;
  virtual void key_event(uint32_t event_id, uint32_t value) = 0;
  virtual void register_variable(RecordRef storage, uint32_t type_code, const char* name) = 0;
  virtual void link_variable(RecordRef var, const char* name) = 0;
  virtual void lookup_variable(RecordRef var) = 0;
  virtual void unregister_variable(const char* name) = 0;
  virtual void stray_service(uint32_t slot) = 0;
};

// The table whose address the host writes into each native module's ImportTable.
frame::HostServiceTable* service_table();
void set_service_sink(ServiceSink* sink);
// The one sink the host's tables call, or null.
ServiceSink* service_sink();

}  // namespace host
