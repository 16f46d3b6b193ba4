// The KERNEL32.dll and msvcrt.dll functions the mingw runtime of a module
// imports, as small shims on the guest machine: one thread, no exceptions to
// dispatch, a heap of its own, deterministic clocks.
#include "host/emulated/runtime_shims.h"

#include <cstdio>
#include <vector>

#include "host/emulated/guest_machine_impl.h"
#include "host/emulated/guest_memory_shims.h"

namespace host::emu {
namespace {

using Conv = GuestMachine::Convention;
constexpr Conv kStd = Conv::kStdcall;
constexpr Conv kC = Conv::kCdecl;

constexpr uint32_t kErrorModNotFound = 126;
constexpr uint32_t kErrorProcNotFound = 127;
constexpr uint32_t kTlsOutOfIndexes = 0xffffffffu;
constexpr uint32_t kMaxTlsValues = 64;
constexpr uint32_t kProcessId = 0x100;
constexpr uint32_t kThreadId = 0x104;
constexpr uint32_t kCurrentProcess = 0xffffffffu;

uint32_t ignore(StubCall&) {
  return 0;
}
uint32_t succeed(StubCall&) {
  return 1;
}

uint32_t load_library(StubCall& c) {
  impl(c).last_error = kErrorModNotFound;
  return 0;
}
// No other module is there for the runtime to find (it asks for a shared
// libgcc and does without).
uint32_t get_module_handle(StubCall& c) {
  impl(c).last_error = kErrorModNotFound;
  return 0;
}
uint32_t get_proc_address(StubCall& c) {
  impl(c).last_error = kErrorProcNotFound;
  return 0;
}
uint32_t get_last_error(StubCall& c) {
  return impl(c).last_error;
}
uint32_t set_last_error(StubCall& c) {
  impl(c).last_error = c.arg(0);
  return 0;
}

uint32_t tls_alloc(StubCall& c) {
  auto& values = impl(c).tls_values;
  if (values.size() >= kMaxTlsValues) return kTlsOutOfIndexes;
  values.push_back(0);
  return static_cast<uint32_t>(values.size() - 1);
}
uint32_t tls_free(StubCall& c) {
  return c.arg(0) < impl(c).tls_values.size() ? 1 : 0;
}
uint32_t tls_get_value(StubCall& c) {
  auto& m = impl(c);
  const uint32_t index = c.arg(0);
  m.last_error = 0;
  return index < m.tls_values.size() ? m.tls_values[index] : 0;
}
uint32_t tls_set_value(StubCall& c) {
  auto& m = impl(c);
  const uint32_t index = c.arg(0);
  if (index >= m.tls_values.size()) return 0;
  m.tls_values[index] = c.arg(1);
  return 1;
}

uint32_t process_id(StubCall&) {
  return kProcessId;
}
uint32_t thread_id(StubCall&) {
  return kThreadId;
}
uint32_t current_process(StubCall&) {
  return kCurrentProcess;
}
// A clock that stands still keeps every run of a flight the same.
uint32_t zero_counter(StubCall& c) {
  const uint32_t at = c.arg(0);
  if (at != 0) {
    c.machine().write_u32(at, 0);
    c.machine().write_u32(at + 4, 0);
  }
  return 1;
}
uint32_t terminate_process(StubCall& c) {
  c.fail(CallStatus::kFault,
         "the module ended the process (exit code " + std::to_string(c.arg(1)) + ")");
  return 0;
}

uint32_t abort_shim(StubCall& c) {
  c.fail(CallStatus::kFault, "the module called abort()");
  return 0;
}
uint32_t amsg_exit(StubCall& c) {
  c.fail(CallStatus::kFault,
         "the module's runtime gave up (_amsg_exit " + std::to_string(c.arg(0)) + ")");
  return 0;
}
uint32_t exit_shim(StubCall& c) {
  c.fail(CallStatus::kFault, "the module called exit(" + std::to_string(c.arg(0)) + ")");
  return 0;
}
// Exit routines are kept by the module's own runtime; nothing runs them here
// before the machine goes.
uint32_t onexit(StubCall& c) {
  return c.arg(0);
}

// _initterm(begin, end): calls each non-null function pointer in [begin, end).
constexpr uint8_t kInittermCode[] = {
    0x56, 0x57,              // push esi; push edi
    0x8b, 0x74, 0x24, 0x0c,  // mov esi, [esp+12]
    0x8b, 0x7c, 0x24, 0x10,  // mov edi, [esp+16]
    0x39, 0xfe,              // loop: cmp esi, edi
    0x73, 0x0d,              // jae done
    0x8b, 0x06,              // mov eax, [esi]
    0x85, 0xc0,              // test eax, eax
    0x74, 0x02,              // jz next
    0xff, 0xd0,              // call eax
    0x83, 0xc6, 0x04,        // next: add esi, 4
    0xeb, 0xef,              // jmp loop
    0x5f, 0x5e, 0xc3,        // done: pop edi; pop esi; ret
};

constexpr uint32_t kStandardFiles = 3;

const RuntimeShim kShims[] = {
    // dll, name, argument bytes, convention, host function, data bytes, guest code
    {"kernel32.dll", "DeleteCriticalSection", 4, kStd, ignore, 0, {}},
    {"kernel32.dll", "EnterCriticalSection", 4, kStd, ignore, 0, {}},
    {"kernel32.dll", "InitializeCriticalSection", 4, kStd, ignore, 0, {}},
    {"kernel32.dll", "InitializeCriticalSectionAndSpinCount", 8, kStd, succeed, 0, {}},
    {"kernel32.dll", "LeaveCriticalSection", 4, kStd, ignore, 0, {}},
    {"kernel32.dll", "TryEnterCriticalSection", 4, kStd, succeed, 0, {}},
    {"kernel32.dll", "DisableThreadLibraryCalls", 4, kStd, succeed, 0, {}},
    {"kernel32.dll", "FreeLibrary", 4, kStd, succeed, 0, {}},
    {"kernel32.dll", "GetCurrentProcess", 0, kStd, current_process, 0, {}},
    {"kernel32.dll", "GetCurrentProcessId", 0, kStd, process_id, 0, {}},
    {"kernel32.dll", "GetCurrentThreadId", 0, kStd, thread_id, 0, {}},
    {"kernel32.dll", "GetLastError", 0, kStd, get_last_error, 0, {}},
    {"kernel32.dll", "GetModuleHandleA", 4, kStd, get_module_handle, 0, {}},
    {"kernel32.dll", "GetModuleHandleW", 4, kStd, get_module_handle, 0, {}},
    {"kernel32.dll", "GetProcAddress", 8, kStd, get_proc_address, 0, {}},
    {"kernel32.dll", "GetSystemTimeAsFileTime", 4, kStd, zero_counter, 0, {}},
    {"kernel32.dll", "GetTickCount", 0, kStd, ignore, 0, {}},
    {"kernel32.dll", "IsDebuggerPresent", 0, kStd, ignore, 0, {}},
    {"kernel32.dll", "LoadLibraryA", 4, kStd, load_library, 0, {}},
    {"kernel32.dll", "LoadLibraryW", 4, kStd, load_library, 0, {}},
    {"kernel32.dll", "QueryPerformanceCounter", 4, kStd, zero_counter, 0, {}},
    {"kernel32.dll", "SetLastError", 4, kStd, set_last_error, 0, {}},
    {"kernel32.dll", "SetUnhandledExceptionFilter", 4, kStd, ignore, 0, {}},
    {"kernel32.dll", "Sleep", 4, kStd, ignore, 0, {}},
    {"kernel32.dll", "TerminateProcess", 8, kStd, terminate_process, 0, {}},
    {"kernel32.dll", "TlsAlloc", 0, kStd, tls_alloc, 0, {}},
    {"kernel32.dll", "TlsFree", 4, kStd, tls_free, 0, {}},
    {"kernel32.dll", "TlsGetValue", 4, kStd, tls_get_value, 0, {}},
    {"kernel32.dll", "TlsSetValue", 8, kStd, tls_set_value, 0, {}},
    {"kernel32.dll", "UnhandledExceptionFilter", 4, kStd, ignore, 0, {}},
    {"kernel32.dll", "VirtualProtect", 16, kStd, virtual_protect, 0, {}},
    {"kernel32.dll", "VirtualQuery", 12, kStd, virtual_query, 0, {}},
    {"msvcrt.dll", "__dllonexit", 0, kC, onexit, 0, {}},
    {"msvcrt.dll", "_amsg_exit", 0, kC, amsg_exit, 0, {}},
    {"msvcrt.dll", "_errno", 0, kC, errno_location, 0, {}},
    {"msvcrt.dll", "_exit", 0, kC, exit_shim, 0, {}},
    {"msvcrt.dll", "_fpreset", 0, kC, ignore, 0, {}},
    {"msvcrt.dll", "_initterm", 0, kC, nullptr, 0, kInittermCode},
    {"msvcrt.dll", "_iob", 0, kC, nullptr, kMsvcrtFileBytes* kStandardFiles, {}},
    {"msvcrt.dll", "_lock", 0, kC, ignore, 0, {}},
    {"msvcrt.dll", "_onexit", 0, kC, onexit, 0, {}},
    {"msvcrt.dll", "_unlock", 0, kC, ignore, 0, {}},
    {"msvcrt.dll", "abort", 0, kC, abort_shim, 0, {}},
    {"msvcrt.dll", "atexit", 0, kC, ignore, 0, {}},
    {"msvcrt.dll", "calloc", 0, kC, calloc_shim, 0, {}},
    {"msvcrt.dll", "exit", 0, kC, exit_shim, 0, {}},
    {"msvcrt.dll", "free", 0, kC, free_shim, 0, {}},
    {"msvcrt.dll", "fwrite", 0, kC, fwrite_shim, 0, {}},
    {"msvcrt.dll", "malloc", 0, kC, malloc_shim, 0, {}},
    {"msvcrt.dll", "memcpy", 0, kC, memcpy_shim, 0, {}},
    {"msvcrt.dll", "memmove", 0, kC, memcpy_shim, 0, {}},
    {"msvcrt.dll", "memset", 0, kC, memset_shim, 0, {}},
    {"msvcrt.dll", "realloc", 0, kC, realloc_shim, 0, {}},
    {"msvcrt.dll", "strcmp", 0, kC, strcmp_shim, 0, {}},
    {"msvcrt.dll", "strlen", 0, kC, strlen_shim, 0, {}},
    {"msvcrt.dll", "strncmp", 0, kC, strncmp_shim, 0, {}},
    {"msvcrt.dll", "vfprintf", 0, kC, vfprintf_shim, 0, {}},
};

}  // namespace

std::span<const RuntimeShim> runtime_shims() {
  return kShims;
}

}  // namespace host::emu
