#pragma once
// A module that faults (natively a signal, under Windows an exception) must
// not take the flight's record with it: while module code runs the host
// knows which gauge and which call it is in, and a fault there ends the
// program with "gaugehost: GAUGE crashed in SERVICE at frame N" and exit
// status 3, after the text log is flushed. A fault anywhere else is left to
// whatever would have handled it.
#include <csignal>
#include <cstdint>
#include <ostream>
#include <string>

namespace host {

inline constexpr int kCrashExitStatus = 3;

// What module code is running; set by the host around every call into it.
struct ModuleCall {
  const char* gauge = nullptr;    // the gauge's label, or the module's name
  const char* service = nullptr;  // "update", "mouse routine", "needle callback", ...
  uint32_t frame = 0;
};

// Installs the handlers once per process; `log` (may be null) is flushed
// before the program ends on a crash.
void guard_module_calls(std::ostream* log);
// Until the next guard_module_calls, a failed call (below) is a HostError
// instead; a fault the handlers see still ends the program.
void unguard_module_calls();

// A call into module code that its space saw fail without a signal (an
// emulated fault, a run past the instruction budget, a write outside the
// module's memory): while guarded the same end as a fault, with `reason` on
// the next line; otherwise a HostError "GAUGE crashed in SERVICE at frame N:
// reason".
[[noreturn]] void module_call_failed(const std::string& reason);

// What the fault handlers read. Only the host's one thread writes them, and
// every module call and service passes through here, so they are inline.
namespace crash_state {
inline ModuleCall current;
inline volatile std::sig_atomic_t running = 0;
}  // namespace crash_state

// Marks module code running (a copy of `call` is kept) until leave_module.
inline void enter_module(const ModuleCall& call) {
  crash_state::current = call;
  crash_state::running = 1;
}
inline void leave_module() {
  crash_state::running = 0;
}
// Host code that module code called (a service, the sound library) is no
// module code; pause, then resume the same call.
inline void pause_module() {
  crash_state::running = 0;
}
inline void resume_module() {
  crash_state::running = 1;
}

// Whether module code is running now.
inline bool in_module() {
  return crash_state::running != 0;
}

}  // namespace host
