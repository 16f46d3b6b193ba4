// The guest machine: one Unicorn engine in 32-bit protected mode with flat
// segments, FS on a thread block, SSE enabled, and the hooks that turn
// faults, loops and stray writes into a failed call.
#include "host/emulated/guest_machine.h"

#include <sys/mman.h>

#include <cstring>

#include "host/emulated/guest_machine_impl.h"

namespace host::emu {
namespace {

void put_u32(uint8_t* at, uint32_t value) {
  std::memcpy(at, &value, 4);
}

// A 32-bit segment descriptor; `granularity` 0x4 counts the limit in bytes,
// 0xc in pages.
uint64_t descriptor(uint32_t base, uint32_t limit, uint8_t access, uint8_t granularity) {
  return (limit & 0xffffu) | (uint64_t{base & 0xffffffu} << 16) | (uint64_t{access} << 40) |
         (uint64_t{(limit >> 16) & 0xfu} << 48) | (uint64_t{granularity} << 52) |
         (uint64_t{base >> 24} << 56);
}

constexpr uint8_t kDataRing0 = 0x92;  // present, DPL 0, data, writable
constexpr uint8_t kDataRing3 = 0xf2;  // present, DPL 3, data, writable
constexpr uint8_t kByteGranular = 0x4;
constexpr uint8_t kPageGranular = 0xc;
constexpr uint32_t kFlatDataIndex = 2;  // the stack and data segments: all 4 GiB, 32-bit
constexpr uint32_t kFsIndex = 3;
constexpr uint32_t kCr0Emulation = 1u << 2;
constexpr uint32_t kCr0MonitorCoprocessor = 1u << 1;
constexpr uint32_t kCr4Osfxsr = 1u << 9;
constexpr uint32_t kCr4Osxmmexcpt = 1u << 10;
constexpr uint16_t kWindowsFpuControl = 0x027f;  // 53-bit precision, exceptions masked
constexpr uint32_t kDefaultMxcsr = 0x1f80;

const char* access_word(int type) {
  switch (type) {
    case UC_MEM_READ_UNMAPPED:
      return "read of unmapped address ";
    case UC_MEM_WRITE_UNMAPPED:
      return "write to unmapped address ";
    case UC_MEM_FETCH_UNMAPPED:
      return "execution of unmapped address ";
    case UC_MEM_READ_PROT:
      return "read of unreadable address ";
    case UC_MEM_WRITE_PROT:
      return "write to read-only address ";
    case UC_MEM_FETCH_PROT:
      return "execution of non-executable address ";
    default:
      return "access to address ";
  }
}

bool on_invalid_memory(uc_engine*, uc_mem_type type, uint64_t address, int size, int64_t,
                       void* user) {
  auto& m = *static_cast<GuestMachine::Impl*>(user);
  const bool write = type == UC_MEM_WRITE_UNMAPPED || type == UC_MEM_WRITE_PROT;
  if (write && m.options.check_writes) {
    m.stop(CallStatus::kStrayWrite,
           "write to " + hex(address) + " outside the module's memory at eip " + hex(m.eip()));
  } else {
    m.stop(CallStatus::kFault, access_word(type) + hex(address) + " at eip " + hex(m.eip()));
  }
  (void)size;
  return false;
}

void on_write(uc_engine*, uc_mem_type, uint64_t address, int size, int64_t, void* user) {
  auto& m = *static_cast<GuestMachine::Impl*>(user);
  if (m.write_allowed(static_cast<GuestAddr>(address), static_cast<uint32_t>(size))) return;
  m.stop(CallStatus::kStrayWrite,
         "write to " + hex(address) + " outside the module's memory at eip " + hex(m.eip()));
}

void on_interrupt(uc_engine*, uint32_t number, void* user) {
  auto& m = *static_cast<GuestMachine::Impl*>(user);
  std::string what;
  switch (number) {
    case 0:
      what = "division by zero";
      break;
    case 3:
      what = "breakpoint";
      break;
    case 6:
      what = "invalid instruction";
      break;
    case 13:
      what = "general protection fault";
      break;
    default:
      what = "interrupt " + std::to_string(number);
  }
  m.stop(CallStatus::kFault, what + " at eip " + hex(m.eip()));
}

bool on_invalid_instruction(uc_engine*, void* user) {
  auto& m = *static_cast<GuestMachine::Impl*>(user);
  m.stop(CallStatus::kFault, "invalid instruction at eip " + hex(m.eip()));
  return false;
}

void on_block(uc_engine*, uint64_t, uint32_t, void* user) {
  auto& m = *static_cast<GuestMachine::Impl*>(user);
  // Every block is at least one instruction: more blocks than the budget is
  // more instructions than the budget.
  if (++m.blocks > m.options.instruction_budget) {
    m.stop(CallStatus::kBudgetExceeded,
           "ran past " + std::to_string(m.options.instruction_budget) + " instructions");
  }
}

void on_instruction(uc_engine*, uint64_t address, uint32_t, void* user) {
  auto& m = *static_cast<GuestMachine::Impl*>(user);
  if (address >= layout::kSentinels && address < layout::kSentinels + layout::kPage) return;
  if (++m.instructions > m.options.instruction_budget && m.options.instruction_budget != 0) {
    m.stop(CallStatus::kBudgetExceeded,
           "ran past " + std::to_string(m.options.instruction_budget) + " instructions");
  }
}

void on_stub(uc_engine* uc, uint64_t address, uint32_t, void* user) {
  auto& m = *static_cast<GuestMachine::Impl*>(user);
  if (address >= layout::kSentinels) {
    // The call returned: the code after the stop address spins until the
    // engine sees the stop.
    if ((address - layout::kSentinels) % layout::kSentinelBytes == 0) {
      m.returned = true;
      uc_emu_stop(uc);
    }
    return;
  }
  const uint64_t offset = address - layout::kStubs;
  if (offset % layout::kStubBytes != 0) return;
  const size_t index = offset / layout::kStubBytes;
  if (index >= m.stubs.size()) return;
  uint32_t esp = 0;
  uc_reg_read(uc, UC_X86_REG_ESP, &esp);
  StubCall call(m.self, esp + 4);
  uint32_t eax = 0;
  try {
    eax = m.stubs[index].fn(call);
  } catch (const std::exception& e) {
    call.fail(CallStatus::kHostError, m.stubs[index].name + ": " + e.what());
  } catch (...) {  // nothing may unwind through the emulator
    call.fail(CallStatus::kHostError, m.stubs[index].name + " failed");
  }
  uc_reg_write(uc, UC_X86_REG_EAX, &eax);
  if (call.st0_set()) {
    const double value = call.st0();
    std::memcpy(m.scratch_host + (layout::kScratchSt0Value - layout::kScratch), &value, 8);
    m.scratch_host[layout::kScratchSt0Flag - layout::kScratch] = 1;
  }
  if (call.failed()) m.stop(call.fail_status(), call.fail_reason());
}

void add_hook(uc_engine* uc, int type, void* callback, void* user, uint64_t begin, uint64_t end) {
  uc_hook hook;
  const uc_err err = uc_hook_add(uc, &hook, type, callback, user, begin, end);
  if (err != UC_ERR_OK) throw EmulationError(std::string("cannot hook: ") + uc_strerror(err));
}

void add_instruction_hook(uc_engine* uc, void* callback, void* user) {
  uc_hook hook;
  const uc_err err =
      uc_hook_add(uc, &hook, UC_HOOK_INSN_INVALID, callback, user, uint64_t{1}, uint64_t{0});
  if (err != UC_ERR_OK) throw EmulationError(std::string("cannot hook: ") + uc_strerror(err));
}

}  // namespace

GuestMachine::Impl::Impl(GuestMachine& owner, MachineOptions opts) : self(owner), options(opts) {
  const uc_err err = uc_open(UC_ARCH_X86, UC_MODE_32, &uc);
  if (err != UC_ERR_OK)
    throw EmulationError(std::string("cannot start Unicorn: ") + uc_strerror(err));
  using namespace layout;
  uint8_t* system = map(kTib, kSystemSize, UC_PROT_READ | UC_PROT_WRITE, "thread block").host;
  put_u32(system + 0x00, 0xffffffffu);  // no exception handler
  put_u32(system + 0x04, kStackTop);
  put_u32(system + 0x08, kStackBottom);
  put_u32(system + 0x18, kTib);
  put_u32(system + 0x20, 0x100);  // process and thread ids
  put_u32(system + 0x24, 0x104);
  put_u32(system + 0x2c, kTlsArray);
  put_u32(system + 0x30, kPeb);
  const uint64_t flat = descriptor(0, 0xfffff, kDataRing0, kPageGranular);
  const uint64_t fs = descriptor(kTib, kPage - 1, kDataRing3, kByteGranular);
  std::memcpy(system + (kGdt - kTib) + kFlatDataIndex * 8, &flat, 8);
  std::memcpy(system + (kGdt - kTib) + kFsIndex * 8, &fs, 8);

  map(kStubs, kStubsSize, UC_PROT_READ | UC_PROT_EXEC, "stubs");
  map(kStubTails, kStubTailsSize, UC_PROT_READ | UC_PROT_EXEC, "stub tails");
  uint8_t* sentinels = map(kSentinels, kPage, UC_PROT_READ | UC_PROT_EXEC, "return sentinels").host;
  for (uint32_t at = 0; at + kSentinelBytes <= kPage; at += kSentinelBytes) {
    const uint8_t stop[] = {0x90, 0xeb, 0xfe};  // nop (the hook stops here); jmp $
    std::memcpy(sentinels + at, stop, sizeof stop);
  }
  scratch_host = map(kScratch, kPage, UC_PROT_READ | UC_PROT_WRITE, "stub scratch").host;
  stack_host = map(kStackBottom, kStackSize, UC_PROT_READ | UC_PROT_WRITE, "stack").host;
  map(kHeap, kHeapSize, UC_PROT_READ | UC_PROT_WRITE, "heap");
  map(kHostBlocks, kHostBlocksSize, UC_PROT_ALL, "host blocks");

  uc_x86_mmr gdtr{0, kGdt, (kFsIndex + 1) * 8 - 1, 0};
  uc_reg_write(uc, UC_X86_REG_GDTR, &gdtr);
  // The emulator runs at privilege 0: the stack segment must be of that ring.
  const uint32_t flat_selector = kFlatDataIndex << 3;
  for (int reg : {UC_X86_REG_SS, UC_X86_REG_DS, UC_X86_REG_ES, UC_X86_REG_GS}) {
    if (uc_reg_write(uc, reg, &flat_selector) != UC_ERR_OK) {
      throw EmulationError("cannot set up the flat data segments");
    }
  }
  const uint32_t fs_selector = (kFsIndex << 3) | 3;
  if (uc_reg_write(uc, UC_X86_REG_FS, &fs_selector) != UC_ERR_OK) {
    throw EmulationError("cannot point FS at the thread block");
  }
  uint32_t cr0 = 0;
  uint32_t cr4 = 0;
  uc_reg_read(uc, UC_X86_REG_CR0, &cr0);
  uc_reg_read(uc, UC_X86_REG_CR4, &cr4);
  cr0 = (cr0 & ~kCr0Emulation) | kCr0MonitorCoprocessor;
  cr4 |= kCr4Osfxsr | kCr4Osxmmexcpt;
  uc_reg_write(uc, UC_X86_REG_CR0, &cr0);
  uc_reg_write(uc, UC_X86_REG_CR4, &cr4);
  const uint16_t fpcw = kWindowsFpuControl;
  uc_reg_write(uc, UC_X86_REG_FPCW, &fpcw);
  const uint32_t mxcsr = kDefaultMxcsr;
  uc_reg_write(uc, UC_X86_REG_MXCSR, &mxcsr);

  add_hook(uc, UC_HOOK_CODE, reinterpret_cast<void*>(&on_stub), this, kStubs,
           uint64_t{kSentinels} + kPage - 1);
  add_hook(uc, UC_HOOK_MEM_INVALID, reinterpret_cast<void*>(&on_invalid_memory), this, 1, 0);
  add_hook(uc, UC_HOOK_INTR, reinterpret_cast<void*>(&on_interrupt), this, 1, 0);
  add_instruction_hook(uc, reinterpret_cast<void*>(&on_invalid_instruction), this);
  if (options.count_instructions) {
    add_hook(uc, UC_HOOK_CODE, reinterpret_cast<void*>(&on_instruction), this, 1, 0);
  } else if (options.instruction_budget != 0) {
    add_hook(uc, UC_HOOK_BLOCK, reinterpret_cast<void*>(&on_block), this, 1, 0);
  }
  if (options.check_writes) {
    add_hook(uc, UC_HOOK_MEM_WRITE, reinterpret_cast<void*>(&on_write), this, 1, 0);
  }
}

GuestMachine::Impl::~Impl() {
  if (uc != nullptr) uc_close(uc);
  for (const auto& [host, size] : backings) munmap(host, size);
}

void GuestMachine::Impl::stop(CallStatus status, std::string what) {
  if (stop_status == CallStatus::kOk) {
    stop_status = status;
    stop_reason = std::move(what);
  }
  uc_emu_stop(uc);
}

uint32_t GuestMachine::Impl::eip() const {
  uint32_t value = 0;
  uc_reg_read(uc, UC_X86_REG_EIP, &value);
  return value;
}

GuestMachine::GuestMachine(MachineOptions options)
    : impl_(std::make_unique<Impl>(*this, options)) {}
GuestMachine::~GuestMachine() = default;

uint64_t GuestMachine::heap_calls() const {
  return impl_->heap_calls;
}
void GuestMachine::forbid_heap_calls(bool forbidden) {
  impl_->heap_forbidden = forbidden;
}
const MachineOptions& GuestMachine::options() const {
  return impl_->options;
}

GuestAddr GuestMachine::make_stub(std::string name, uint32_t arg_bytes, StubFn fn,
                                  Convention convention) {
  Impl& m = *impl_;
  using namespace layout;
  if (m.stubs.size() >= kMaxStubs) {
    throw EmulationError("no room for the stub " + name);
  }
  if (arg_bytes > 0xffff) throw EmulationError("the stub " + name + " takes too many arguments");
  const uint32_t index = static_cast<uint32_t>(m.stubs.size());
  const GuestAddr at = kStubs + index * kStubBytes;
  const GuestAddr tail = kStubTails + index * kStubTailBytes;
  // jmp tail: the hook runs the host function before it.
  uint8_t entry[kStubBytes] = {0xe9};
  put_u32(entry + 1, tail - (at + 5));
  // The tail: when the host set st0, clear the flag and load the value
  // (cmp byte [flag], 0; je +13; mov byte [flag], 0; fld qword [value]);
  // then return, popping stdcall arguments.
  uint8_t code[kStubTailBytes] = {0x80, 0x3d, 0, 0, 0,    0,    0x00, 0x74, 0x0d, 0xc6, 0x05,
                                  0,    0,    0, 0, 0x00, 0xdd, 0x05, 0,    0,    0,    0};
  put_u32(code + 2, kScratchSt0Flag);
  put_u32(code + 11, kScratchSt0Flag);
  put_u32(code + 18, kScratchSt0Value);
  const uint32_t popped = convention == Convention::kStdcall ? arg_bytes : 0;
  size_t end = 22;
  if (popped == 0) {
    code[end++] = 0xc3;
  } else {
    code[end++] = 0xc2;
    code[end++] = static_cast<uint8_t>(popped & 0xff);
    code[end++] = static_cast<uint8_t>(popped >> 8);
  }
  m.stubs.push_back({std::move(name), arg_bytes, std::move(fn), convention});
  if (uc_mem_write(m.uc, tail, code, sizeof code) != UC_ERR_OK ||
      uc_mem_write(m.uc, at, entry, sizeof entry) != UC_ERR_OK) {
    throw EmulationError("cannot write the stub " + m.stubs.back().name);
  }
  return at;
}

uint32_t StubCall::arg(size_t index) const {
  return machine_->read_u32(args_ + static_cast<GuestAddr>(index * 4));
}

double StubCall::arg_f64(size_t first_index) const {
  return machine_->read_f64(args_ + static_cast<GuestAddr>(first_index * 4));
}

void StubCall::set_st0(double value) {
  st0_set_ = true;
  st0_ = value;
}

void StubCall::fail(CallStatus status, std::string what) {
  fail_status_ = status;
  fail_reason_ = std::move(what);
}

}  // namespace host::emu
