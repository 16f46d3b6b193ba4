// Calls into module code: arguments and a return address that lands on a
// stop address, one emulation run, and the result read back (eax, st0, and
// whatever a hook said went wrong).
#include <cstring>

#include "host/emulated/guest_machine_impl.h"
#include "host/emulated/x87_double.h"

namespace host::emu {
namespace {

constexpr uint32_t kStackSlack = 64;      // below the stack top, for nothing in particular
constexpr uint32_t kNestedGap = 256;      // between a stub's frame and a nested call's
constexpr uint16_t kFpuTopMask = 0x3800;  // bits 11..13 of the status word
constexpr uint16_t kAllTagsEmpty = 0xffff;

// The x87 top of stack on return, popped so that every call starts with an
// empty register stack as an i386 caller leaves it. 0 when nothing was pushed.
double take_st0(uc_engine* uc, uint16_t status_word) {
  const int top = (status_word & kFpuTopMask) >> 11;
  if (top == 0) return 0.0;
  // Unicorn gives an x87 register as its 64-bit mantissa and then its
  // 16-bit sign and exponent.
  uint8_t reg[16] = {};
  uc_reg_read(uc, UC_X86_REG_FP0 + top, reg);
  uint64_t mantissa = 0;
  uint16_t sign_exponent = 0;
  std::memcpy(&mantissa, reg, 8);
  std::memcpy(&sign_exponent, reg + 8, 2);
  const uint16_t cleared = static_cast<uint16_t>(status_word & ~kFpuTopMask);
  const uint16_t tags = kAllTagsEmpty;
  uc_reg_write(uc, UC_X86_REG_FPSW, &cleared);
  uc_reg_write(uc, UC_X86_REG_FPTAG, &tags);
  return x87_to_double(mantissa, sign_exponent);
}

std::string engine_error(uc_err err, uint32_t eip) {
  switch (err) {
    case UC_ERR_INSN_INVALID:
      return "invalid instruction at eip " + hex(eip);
    case UC_ERR_EXCEPTION:
      return "unhandled processor exception at eip " + hex(eip);
    default:
      return std::string(uc_strerror(err)) + " at eip " + hex(eip);
  }
}

}  // namespace

CallResult GuestMachine::call(GuestAddr function, std::initializer_list<uint32_t> args,
                              Convention convention) {
  Impl& m = *impl_;
  using namespace layout;
  CallResult result;
  if (m.depth >= static_cast<int>(kMaxDepth)) {
    result.status = CallStatus::kHostError;
    result.what = "calls into module code nested deeper than " + std::to_string(kMaxDepth);
    return result;
  }
  // A call from inside a stub keeps the interrupted call's registers.
  uc_context* outer = nullptr;
  uint32_t top = kStackTop - kStackSlack;
  if (m.depth > 0) {
    uc_context_alloc(m.uc, &outer);
    uc_context_save(m.uc, outer);
    uint32_t esp = 0;
    uc_reg_read(m.uc, UC_X86_REG_ESP, &esp);
    top = (esp - kNestedGap) & ~15u;
  }
  const uint32_t arg_bytes = static_cast<uint32_t>(args.size() * 4);
  const uint32_t first_arg = top - arg_bytes;
  const uint32_t esp = first_arg - 4;
  const GuestAddr sentinel = kSentinels + static_cast<GuestAddr>(m.depth) * kSentinelBytes;
  if (esp < kStackBottom + kPage) {
    result.status = CallStatus::kHostError;
    result.what = "no stack left for a nested call";
    if (outer != nullptr) uc_context_free(outer);
    return result;
  }
  uint8_t* stack = m.stack_host + (esp - kStackBottom);
  std::memcpy(stack, &sentinel, 4);
  size_t i = 0;
  for (uint32_t a : args) std::memcpy(stack + 4 + 4 * i++, &a, 4);
  uc_reg_write(m.uc, UC_X86_REG_ESP, &esp);

  const CallStatus outer_status = m.stop_status;
  std::string outer_reason = std::move(m.stop_reason);
  const uint64_t outer_blocks = m.blocks;
  const uint64_t outer_instructions = m.instructions;
  m.returned = false;
  m.stop_status = CallStatus::kOk;
  m.stop_reason.clear();
  m.blocks = 0;
  m.instructions = 0;
  ++m.depth;
  const uc_err err = uc_emu_start(m.uc, function, kNeverReached, 0, 0);
  --m.depth;

  int ids[] = {UC_X86_REG_EAX, UC_X86_REG_ESP, UC_X86_REG_EIP, UC_X86_REG_FPSW};
  uint32_t eax = 0;
  uint32_t esp_after = 0;
  uint32_t eip = 0;
  uint16_t fpsw = 0;
  void* values[] = {&eax, &esp_after, &eip, &fpsw};
  uc_reg_read_batch(m.uc, ids, values, 4);
  result.eax = eax;
  result.st0 = take_st0(m.uc, fpsw);
  if (m.options.count_instructions) result.instructions = m.instructions;

  if (m.stop_status != CallStatus::kOk) {
    result.status = m.stop_status;
    result.what = m.stop_reason;
  } else if (err != UC_ERR_OK) {
    result.status = CallStatus::kFault;
    result.what = engine_error(err, eip);
  } else if (!m.returned) {
    result.status = CallStatus::kHostError;
    result.what = "the emulation stopped at eip " + hex(eip) + " before the call returned";
  } else {
    const uint32_t expected = convention == Convention::kStdcall ? top : first_arg;
    if (esp_after != expected) {
      const int64_t off = int64_t{esp_after} - int64_t{expected};
      result.status = CallStatus::kFault;
      result.what = "returned from " + hex(function) + " with the stack off by " +
                    std::to_string(off) +
                    " bytes (a calling convention or argument count mismatch)";
    }
  }

  // A failed call may leave the direction flag or anything else set; the
  // next one starts as a call from compiled code would.
  if (result.status != CallStatus::kOk) {
    const uint32_t clean_flags = 0x2;
    uc_reg_write(m.uc, UC_X86_REG_EFLAGS, &clean_flags);
  }
  m.returned = false;
  m.stop_status = outer_status;
  m.stop_reason = std::move(outer_reason);
  m.blocks = outer_blocks + m.blocks;
  m.instructions = outer_instructions + m.instructions;
  if (outer != nullptr) {
    uc_context_restore(m.uc, outer);
    uc_context_free(outer);
  }
  return result;
}

}  // namespace host::emu
