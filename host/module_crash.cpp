#include "host/module_crash.h"

#include <cstdio>
#include <cstdlib>

#include "host/host_error.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace host {
namespace {

using crash_state::current;
using crash_state::running;

std::ostream* crash_log = nullptr;
bool installed = false;
bool guarding = false;

const char* text_or(const char* text, const char* otherwise) {
  return text != nullptr ? text : otherwise;
}

std::string crash_line() {
  return std::string(text_or(current.gauge, "a module")) + " crashed in " +
         text_or(current.service, "a call") + " at frame " + std::to_string(current.frame);
}

// Module code faulted: the host's own state is sound (the fault is not in
// its code), so the log can be flushed before the program ends. `reason`
// (may be null) says why, on a line of its own.
[[noreturn]] void end_on_crash(const char* reason = nullptr) {
  if (crash_log != nullptr) crash_log->flush();
  std::fflush(stdout);
  std::fprintf(stderr, "gaugehost: %s crashed in %s at frame %u\n",
               text_or(current.gauge, "a module"), text_or(current.service, "a call"),
               static_cast<unsigned>(current.frame));
  if (reason != nullptr) std::fprintf(stderr, "gaugehost: %s\n", reason);
  std::fflush(stderr);
  std::_Exit(kCrashExitStatus);
}

#if defined(_WIN32)

LONG WINAPI on_exception(EXCEPTION_POINTERS* info) {
  if (!running) return EXCEPTION_CONTINUE_SEARCH;
  switch (info->ExceptionRecord->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_IN_PAGE_ERROR:
      end_on_crash();
    default:
      return EXCEPTION_CONTINUE_SEARCH;
  }
}

void install() {
  AddVectoredExceptionHandler(1, &on_exception);
}

#else

constexpr int kFaults[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
struct sigaction previous[sizeof kFaults / sizeof kFaults[0]];

void on_signal(int signal, siginfo_t* info, void* context) {
  if (running) end_on_crash();
  // Not module code: whoever handled the fault before (the sanitizers'
  // report, or the default) handles it now.
  for (size_t i = 0; i < sizeof kFaults / sizeof kFaults[0]; ++i) {
    if (kFaults[i] != signal) continue;
    if ((previous[i].sa_flags & SA_SIGINFO) != 0 && previous[i].sa_sigaction != nullptr) {
      previous[i].sa_sigaction(signal, info, context);
      return;
    }
    if (previous[i].sa_handler != SIG_DFL && previous[i].sa_handler != SIG_IGN &&
        previous[i].sa_handler != nullptr) {
      previous[i].sa_handler(signal);
      return;
    }
  }
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void install() {
  // A module that overflows its stack still gets its message out.
  static char alternate_stack[64 * 1024];
  stack_t stack{};
  stack.ss_sp = alternate_stack;
  stack.ss_size = sizeof alternate_stack;
  sigaltstack(&stack, nullptr);
  for (size_t i = 0; i < sizeof kFaults / sizeof kFaults[0]; ++i) {
    struct sigaction action {};
    action.sa_sigaction = &on_signal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(kFaults[i], &action, &previous[i]);
  }
}

#endif

}  // namespace

void guard_module_calls(std::ostream* log) {
  crash_log = log;
  guarding = true;
  if (installed) return;
  installed = true;
  install();
}

void unguard_module_calls() {
  crash_log = nullptr;
  guarding = false;
}

void module_call_failed(const std::string& reason) {
  crash_state::running = 0;
  if (guarding) end_on_crash(reason.c_str());
  throw HostError(crash_line() + ": " + reason);
}

}  // namespace host
