// The runtime shims as module code sees them, each called straight through
// its import address: right answers, the right convention, and a failed call
// where the module's runtime gives up.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/emulated/guest_machine.h"
#include "host/emulated/runtime_imports.h"

namespace emu_tests {
namespace {

using host::emu::CallResult;
using host::emu::CallStatus;
using host::emu::GuestAddr;
using host::emu::GuestMachine;
using Conv = GuestMachine::Convention;

struct Shims {
  GuestMachine machine;
  GuestAddr get(const char* dll, const char* name) {
    const GuestAddr at = host::emu::resolve_import(machine, dll, {false, 0, name});
    EXPECT_NE(at, 0u) << dll << "!" << name;
    return at;
  }
  CallResult k32(const char* name, std::initializer_list<uint32_t> args) {
    return machine.call(get("KERNEL32.dll", name), args, Conv::kStdcall);
  }
  CallResult crt(const char* name, std::initializer_list<uint32_t> args) {
    return machine.call(get("msvcrt.dll", name), args, Conv::kCdecl);
  }
};

TEST(RuntimeShims, AnswerLikeTheirWindowsNamesakes) {
  Shims s;
  EXPECT_EQ(s.k32("SetLastError", {5}).status, CallStatus::kOk);
  EXPECT_EQ(s.k32("GetLastError", {}).eax, 5u);
  const uint32_t slot = s.k32("TlsAlloc", {}).eax;
  EXPECT_EQ(s.k32("TlsSetValue", {slot, 77}).eax, 1u);
  EXPECT_EQ(s.k32("TlsGetValue", {slot}).eax, 77u);
  EXPECT_EQ(s.k32("GetModuleHandleA", {0}).eax, 0u);
  EXPECT_EQ(s.k32("GetLastError", {}).eax, 126u);  // not found

  const GuestAddr text = s.machine.host_block(64, "text");
  s.machine.write(text, "gauge\0gaugx", 12);
  EXPECT_EQ(s.crt("strlen", {text}).eax, 5u);
  EXPECT_EQ(s.crt("strncmp", {text, text + 6, 4}).eax, 0u);
  EXPECT_NE(s.crt("strncmp", {text, text + 6, 5}).eax, 0u);
  EXPECT_EQ(s.crt("memset", {text + 32, 'x', 3}).eax, text + 32);
  s.crt("memcpy", {text + 40, text + 32, 4});
  EXPECT_EQ(s.machine.read_string(text + 40), "xxx");

  const CallResult aborted = s.crt("abort", {});
  EXPECT_EQ(aborted.status, CallStatus::kFault);
  EXPECT_EQ(aborted.what, "the module called abort()");
  EXPECT_EQ(s.crt("_amsg_exit", {31}).status, CallStatus::kFault);
  EXPECT_EQ(host::emu::resolve_import(s.machine, "KERNEL32.dll", {false, 0, "CreateFileA"}), 0u);
  EXPECT_EQ(host::emu::resolve_import(s.machine, "FSSound.dll", {true, 2, {}}), 0u);
}

TEST(RuntimeShims, VirtualMemoryCallsTellTheTruthAboutTheMap) {
  Shims s;
  const GuestAddr info = s.machine.host_block(28, "info");
  const GuestAddr data = s.machine.host_block(16, "data");
  ASSERT_EQ(s.k32("VirtualQuery", {data + 4, info, 28}).eax, 28u);
  EXPECT_EQ(s.machine.read_u32(info), data & ~0xfffu);  // BaseAddress
  EXPECT_EQ(s.machine.read_u32(info + 16), 0x1000u);    // MEM_COMMIT
  EXPECT_EQ(s.machine.read_u32(info + 20), 0x40u);      // PAGE_EXECUTE_READWRITE
  ASSERT_EQ(s.k32("VirtualQuery", {0x10, info, 28}).eax, 28u);
  EXPECT_EQ(s.machine.read_u32(info + 16), 0x10000u);  // MEM_FREE

  // Made read-only, the page refuses module writes; made writable again, it
  // takes them, and the host reads what the module wrote.
  const GuestAddr code_block = s.machine.host_block(0x2000, "routine");
  const GuestAddr routine = (code_block + 0x1000) & ~0xfffu;                 // not the data's page
  const uint8_t store[] = {0xb8, 0x78, 0x56, 0, 0, 0xa3, 0, 0, 0, 0, 0xc3};  // mov [data], 0x5678
  std::vector<uint8_t> code(std::begin(store), std::end(store));
  for (int i = 0; i < 4; ++i) code[6 + i] = static_cast<uint8_t>(data >> (8 * i));
  ASSERT_TRUE(s.machine.write(routine, code.data(), code.size()));
  ASSERT_EQ(s.k32("VirtualProtect", {data, 16, 0x02, info}).eax, 1u);
  EXPECT_EQ(s.machine.read_u32(info), 0x40u);  // the old protection
  const CallResult refused = s.machine.call(routine, {}, Conv::kCdecl);
  EXPECT_EQ(refused.status, CallStatus::kFault);
  EXPECT_NE(refused.what.find("write to read-only address"), std::string::npos) << refused.what;
  ASSERT_EQ(s.k32("VirtualProtect", {data, 16, 0x04, info}).eax, 1u);
  EXPECT_EQ(s.machine.call(routine, {}, Conv::kCdecl).status, CallStatus::kOk);
  EXPECT_EQ(s.machine.read_u32(data), 0x5678u);
}

}  // namespace
}  // namespace emu_tests

namespace emu_tests {
namespace {

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", value);
  return text;
}

// Once heap calls are forbidden (the gauges fly), each heap shim ends the
// call that reached it, naming itself and its arguments, and leaves the
// heap as it was; allowed again, the same calls work.
TEST(RuntimeShims, ForbiddenHeapCallsEndTheCallNamedAndTouchNothing) {
  Shims s;
  const uint32_t block = s.crt("malloc", {24}).eax;
  ASSERT_NE(block, 0u);
  struct Row {
    const char* name;
    std::vector<uint32_t> args;
    std::string says;
  };
  const Row rows[] = {
      {"malloc", {64}, "malloc(64)"},
      {"calloc", {3, 16}, "calloc(3, 16)"},
      {"realloc", {block, 48}, "realloc(" + hex(block) + ", 48)"},
      {"free", {block}, "free(" + hex(block) + ")"},
      {"free", {0}, "free(0x00000000)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.says);
    const uint64_t calls_before = s.machine.heap_calls();
    s.machine.forbid_heap_calls(true);
    const GuestAddr shim = s.get("msvcrt.dll", row.name);
    const CallResult r = row.args.size() == 1
                             ? s.machine.call(shim, {row.args[0]}, Conv::kCdecl)
                             : s.machine.call(shim, {row.args[0], row.args[1]}, Conv::kCdecl);
    s.machine.forbid_heap_calls(false);
    EXPECT_EQ(r.status, CallStatus::kHeapCall);
    EXPECT_EQ(r.what, row.says);
    EXPECT_EQ(s.machine.heap_calls(), calls_before + 1) << "counted all the same";
  }
  // The block is still live (realloc and free did nothing): freed now, once.
  EXPECT_EQ(s.crt("free", {block}).status, CallStatus::kOk);
  EXPECT_EQ(s.crt("free", {block}).status, CallStatus::kFault);
  EXPECT_NE(s.crt("malloc", {8}).eax, 0u);
}

}  // namespace
}  // namespace emu_tests
