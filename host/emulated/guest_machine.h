#pragma once
// One 32-bit x86 address space, run by the Unicorn CPU emulator, in which the
// host runs the real 32-bit .gau modules on machines whose kernel runs no
// 32-bit code. Module code is entered through call(); the module's imports and
// the host's services are stubs: guest addresses that run host code and
// return to their caller without leaving the emulation.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>

namespace host::emu {

using GuestAddr = uint32_t;

// Why the emulated loader refused a module or a machine failed: one line.
struct EmulationError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

enum class CallStatus { kOk, kFault, kBudgetExceeded, kStrayWrite, kHeapCall, kHostError };

struct CallResult {
  CallStatus status = CallStatus::kOk;
  uint32_t eax = 0;
  double st0 = 0.0;  // x87 top of stack on return (an i686 function returning double)
  // One line for a failed call, e.g. "read of unmapped address 0x00000010 at
  // eip 0x1000123a", "ran past 50000000 instructions".
  std::string what;
  uint64_t instructions = 0;  // executed by this call when counting is on, else 0
};

struct MachineOptions {
  uint64_t instruction_budget = 50'000'000;  // per call into module code; 0 = none
  // A write outside the module images' writable sections, the stack, live
  // heap blocks and host blocks ends the call with kStrayWrite.
  bool check_writes = false;
  bool count_instructions = false;  // per-call instruction counts (costly)
};

class GuestMachine;

// The host side of a stub's call: its arguments as read from the guest stack.
class StubCall {
 public:
  StubCall(GuestMachine& machine, GuestAddr args) : machine_(&machine), args_(args) {}
  uint32_t arg(size_t index) const;          // 32-bit argument `index` (0 = first)
  double arg_f64(size_t first_index) const;  // a double passed in two argument slots
  GuestMachine& machine() const { return *machine_; }
  void set_st0(double value);  // for stubs returning double
  // Ends the call into module code that reached this stub as a kHostError
  // (or kFault) with `what` once the stub returns, e.g. abort().
  void fail(CallStatus status, std::string what);

  bool st0_set() const { return st0_set_; }
  double st0() const { return st0_; }
  bool failed() const { return fail_status_ != CallStatus::kOk; }
  CallStatus fail_status() const { return fail_status_; }
  const std::string& fail_reason() const { return fail_reason_; }

 private:
  GuestMachine* machine_;
  GuestAddr args_;  // the guest address of argument 0
  bool st0_set_ = false;
  double st0_ = 0.0;
  CallStatus fail_status_ = CallStatus::kOk;
  std::string fail_reason_;
};

using StubFn = std::function<uint32_t(StubCall&)>;  // returns eax

class GuestMachine {
 public:
  explicit GuestMachine(MachineOptions options = {});
  ~GuestMachine();
  GuestMachine(const GuestMachine&) = delete;
  GuestMachine& operator=(const GuestMachine&) = delete;

  // Bounds-checked access: read and write answer false for unmapped memory,
  // the typed ones throw EmulationError.
  bool read(GuestAddr addr, void* out, size_t size) const;
  bool write(GuestAddr addr, const void* data, size_t size);
  uint32_t read_u32(GuestAddr addr) const;
  int32_t read_i32(GuestAddr addr) const;
  double read_f64(GuestAddr addr) const;
  void write_u32(GuestAddr addr, uint32_t value);
  void write_f64(GuestAddr addr, double value);
  // A C string of at most `max_length` characters (longer ones are cut).
  std::string read_string(GuestAddr addr, size_t max_length = 4096) const;

  // A zeroed block module code may read and write (the service table, gauge
  // copies, a mouse position); lives as long as the machine.
  GuestAddr host_block(size_t size, const char* what);

  enum class Convention { kStdcall, kCdecl };
  // A guest address that, when module code calls it, runs `fn` and returns
  // to the caller; stdcall pops `arg_bytes`, cdecl pops nothing.
  GuestAddr make_stub(std::string name, uint32_t arg_bytes, StubFn fn,
                      Convention convention = Convention::kStdcall);

  // Calls module code at `function` with `args` pushed right to left and
  // returns when it returns, fails or runs past the budget. Re-entrant: a
  // stub may call back into module code.
  CallResult call(GuestAddr function, std::initializer_list<uint32_t> args,
                  Convention convention = Convention::kStdcall);

  // Heap calls (malloc, calloc, realloc, free...) module code made through
  // the runtime shims since the machine started.
  uint64_t heap_calls() const;
  // While forbidden, a heap call ends the call into module code that made
  // it with kHeapCall, naming the function and its arguments, before the
  // heap is touched (module code must not allocate once its gauges are
  // installed). Counted either way.
  void forbid_heap_calls(bool forbidden);
  const MachineOptions& options() const;

  // What the module loader needs of the address space.
  struct Impl;
  Impl& impl() { return *impl_; }
  const Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace host::emu
