#pragma once
// Scopes around the panel host's calls into module code and module code's
// calls back into the host: they keep module_call_hook's count of module
// code (the soak test counts allocations by it) and tell the crash guard
// which module call is running.
#include <cstdint>

#include "host/module_crash.h"
#include "host/panel_host.h"

namespace host {

// Marks a stretch of module code (+1) or of host code that module code
// called (-1) for module_call_hook, and tells the crash guard which module
// call is running.
class CallScope {
 public:
  explicit CallScope(int delta) : delta_(delta) {
    if (module_call_hook != nullptr) module_call_hook(delta_);
  }
  ~CallScope() {
    if (module_call_hook != nullptr) module_call_hook(-delta_);
  }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  int delta_;
};

// Module code runs: a gauge's service or a routine it exported.
struct InModule : CallScope {
  InModule(const char* gauge, const char* service, uint32_t frame) : CallScope(+1) {
    enter_module(ModuleCall{gauge, service, frame});
  }
  ~InModule() { leave_module(); }
  InModule(const InModule&) = delete;
  InModule& operator=(const InModule&) = delete;
};
// Host code that module code called: a service, paused in the crash guard.
struct InHost : CallScope {
  InHost() : CallScope(-1), paused_(in_module()) {
    if (paused_) pause_module();
  }
  ~InHost() {
    if (paused_) resume_module();
  }
  InHost(const InHost&) = delete;
  InHost& operator=(const InHost&) = delete;

 private:
  bool paused_;
};

}  // namespace host
