// The guest machine seen from outside: calls into tiny routines, the checks
// that end a call (faults, loops, stray writes), stubs with both calling
// conventions, st0 both ways, the heap shims, and what a call costs.
#include "host/emulated/guest_machine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "guest_routines.h"
#include "host/emulated/runtime_imports.h"

namespace emu_tests {
namespace {

using host::emu::CallResult;
using host::emu::CallStatus;
using host::emu::MachineOptions;
using host::emu::StubCall;
using Conv = GuestMachine::Convention;

struct BadRoutine {
  const char* name;
  Bytes code;
  bool check_writes;
  CallStatus status;
  const char* what;  // a part of the one-line reason
};

TEST(GuestMachine, EndsBadCallsWithTheirReason) {
  const BadRoutine rows[] = {
      {"reads address 0x10",
       {0xa1, 0x10, 0, 0, 0, 0xc3},
       false,
       CallStatus::kFault,
       "read of unmapped address 0x00000010 at eip 0x01"},
      {"jumps to itself",
       {0xeb, 0xfe},
       false,
       CallStatus::kBudgetExceeded,
       "ran past 100000 instructions"},
      {"writes far outside",
       {0xa3, 0x00, 0x00, 0xf0, 0x7f, 0xc3},
       true,
       CallStatus::kStrayWrite,
       "write to 0x7ff00000 outside the module's memory"},
      {"writes to the heap outside a block",
       {0xa3, 0x00, 0x00, 0x50, 0x00, 0xc3},
       true,
       CallStatus::kStrayWrite,
       "write to 0x00500000 outside"},
      {"writes to the stubs",
       {0xa3, 0x00, 0x00, 0x02, 0x00, 0xc3},
       false,
       CallStatus::kFault,
       "write to read-only address 0x00020000"},
      {"divides by zero",
       {0x31, 0xc9, 0xf7, 0xf1, 0xc3},
       false,
       CallStatus::kFault,
       "division by zero at eip 0x01"},
      {"runs an invalid instruction",
       {0x0f, 0x0b},
       false,
       CallStatus::kFault,
       "invalid instruction"},
      {"jumps to nowhere",
       {0xb8, 0, 0, 0, 0x40, 0xff, 0xe0},
       false,
       CallStatus::kFault,
       "execution of unmapped address 0x40000000"},
      {"pops no arguments though stdcall",
       {0xc3},
       false,
       CallStatus::kFault,
       "stack off by -4 bytes"},
  };
  for (const BadRoutine& row : rows) {
    SCOPED_TRACE(row.name);
    MachineOptions options;
    options.instruction_budget = 100000;
    options.check_writes = row.check_writes;
    GuestMachine machine(options);
    const CallResult r = machine.call(place(machine, row.code), {1});
    EXPECT_EQ(r.status, row.status);
    EXPECT_NE(r.what.find(row.what), std::string::npos) << r.what;
    EXPECT_EQ(r.what.find('\n'), std::string::npos);
    // The machine goes on after a failed call.
    const CallResult next = machine.call(place(machine, {0xb8, 7, 0, 0, 0, 0xc3}), {});
    EXPECT_EQ(next.status, CallStatus::kOk) << next.what;
    EXPECT_EQ(next.eax, 7u);
  }
}

TEST(GuestMachine, AllowsWritesToItsOwnMemory) {
  MachineOptions options;
  options.check_writes = true;
  GuestMachine machine(options);
  const GuestAddr block = machine.host_block(16, "data");
  Bytes code = {0xa3};  // mov [block], eax; push eax; pop eax; ret
  append_u32(code, block + 12);
  code.insert(code.end(), {0x50, 0x58, 0xc3});
  const CallResult r = machine.call(place(machine, code), {}, Conv::kCdecl);
  EXPECT_EQ(r.status, CallStatus::kOk) << r.what;
}

TEST(GuestMachine, StubsSeeTheirArgumentsAndPopThemByConvention) {
  for (const Conv convention : {Conv::kStdcall, Conv::kCdecl}) {
    GuestMachine machine;
    uint32_t seen[2] = {};
    const GuestAddr stub = machine.make_stub(
        "add", 8,
        [&](StubCall& c) {
          seen[0] = c.arg(0);
          seen[1] = c.arg(1);
          return c.arg(0) + c.arg(1);
        },
        convention);
    // push 7; push 5; call stub; (cdecl: add esp, 8); ret
    Bytes code = {0x6a, 0x07, 0x6a, 0x05, 0xb8};
    append_u32(code, stub);
    code.insert(code.end(), {0xff, 0xd0});
    if (convention == Conv::kCdecl) code.insert(code.end(), {0x83, 0xc4, 0x08});
    code.push_back(0xc3);
    const CallResult r = machine.call(place(machine, code), {}, Conv::kCdecl);
    ASSERT_EQ(r.status, CallStatus::kOk) << r.what;
    EXPECT_EQ(r.eax, 12u);
    EXPECT_EQ(seen[0], 5u);
    EXPECT_EQ(seen[1], 7u);
  }
}

TEST(GuestMachine, CarriesDoublesThroughSt0AndSse2) {
  GuestMachine machine;
  const GuestAddr stub = machine.make_stub("half", 8, [](StubCall& c) {
    c.set_st0(c.arg_f64(0) / 2);
    return 0u;
  });
  const GuestAddr number = machine.host_block(8, "number");
  machine.write_f64(number, 1.25);
  // sub esp, 8; movsd xmm0, [number]; addsd xmm0, xmm0; movsd [esp], xmm0;
  // call stub (pops the 8 bytes); ret 4
  Bytes code = {0x83, 0xec, 0x08, 0xf2, 0x0f, 0x10, 0x05};
  append_u32(code, number);
  code.insert(code.end(), {0xf2, 0x0f, 0x58, 0xc0, 0xf2, 0x0f, 0x11, 0x04, 0x24, 0xb8});
  append_u32(code, stub);
  code.insert(code.end(), {0xff, 0xd0, 0xc2, 0x04, 0x00});
  const GuestAddr routine = place(machine, code);
  for (int i = 0; i < 10; ++i) {  // more than the x87 stack holds: each call pops
    const CallResult r = machine.call(routine, {0});
    ASSERT_EQ(r.status, CallStatus::kOk) << r.what;
    EXPECT_EQ(r.st0, 1.25);
  }
  // A routine that leaves nothing on the x87 stack returns 0.
  EXPECT_EQ(machine.call(place(machine, {0xc3}), {}).st0, 0.0);
}

TEST(GuestMachine, CountsHeapCallsThroughTheShims) {
  GuestMachine machine;
  const auto shim = [&](const char* name) {
    return host::emu::resolve_import(machine, "MSVCRT.dll", {false, 0, name});
  };
  // push 16; push 3; call calloc; add esp, 8; ret
  Bytes code = {0x6a, 0x10, 0x6a, 0x03, 0xb8};
  append_u32(code, shim("calloc"));
  code.insert(code.end(), {0xff, 0xd0, 0x83, 0xc4, 0x08, 0xc3});
  const CallResult r = machine.call(place(machine, code), {}, Conv::kCdecl);
  ASSERT_EQ(r.status, CallStatus::kOk) << r.what;
  EXPECT_EQ(machine.heap_calls(), 1u);
  EXPECT_NE(r.eax, 0u);
  EXPECT_EQ(machine.read_u32(r.eax + 44), 0u);
  // free of the block, then of something that is no block.
  Bytes free_code = {0xff, 0x74, 0x24, 0x04, 0xb8};  // push [esp+4]; call free; pop ecx; ret
  append_u32(free_code, shim("free"));
  free_code.insert(free_code.end(), {0xff, 0xd0, 0x59, 0xc3});
  const GuestAddr free_routine = place(machine, free_code);
  EXPECT_EQ(machine.call(free_routine, {r.eax}, Conv::kCdecl).status, CallStatus::kOk);
  const CallResult bad = machine.call(free_routine, {r.eax + 4}, Conv::kCdecl);
  EXPECT_EQ(bad.status, CallStatus::kFault);
  EXPECT_NE(bad.what.find("which is no heap block"), std::string::npos) << bad.what;
  EXPECT_EQ(machine.heap_calls(), 3u);
}

TEST(GuestMachine, StubsMayCallBackIntoGuestCode) {
  GuestMachine machine;
  const GuestAddr inner = place(machine, {0x8b, 0x44, 0x24, 0x04, 0x40, 0xc2, 0x04, 0x00});
  const GuestAddr stub = machine.make_stub("again", 4, [&](StubCall& c) {
    const CallResult r = c.machine().call(inner, {c.arg(0)});
    return r.status == CallStatus::kOk ? r.eax * 10 : 0u;
  });
  // push [esp+4]; call stub; inc eax; ret 4
  Bytes code = {0xff, 0x74, 0x24, 0x04, 0xb8};
  append_u32(code, stub);
  code.insert(code.end(), {0xff, 0xd0, 0x40, 0xc2, 0x04, 0x00});
  const CallResult r = machine.call(place(machine, code), {4});
  ASSERT_EQ(r.status, CallStatus::kOk) << r.what;
  EXPECT_EQ(r.eax, 51u);
}

TEST(GuestMachine, CountsTheInstructionsOfACallWhenAsked) {
  MachineOptions options;
  options.count_instructions = true;
  options.instruction_budget = 2002;
  GuestMachine machine(options);
  // mov ecx, [esp+4]; dec ecx; jnz -3; ret 4: 2 + 2n instructions
  const GuestAddr loop =
      place(machine, {0x8b, 0x4c, 0x24, 0x04, 0x49, 0x75, 0xfd, 0xc2, 0x04, 0x00});
  EXPECT_EQ(machine.call(loop, {1000}).instructions, 2002u);
  EXPECT_EQ(machine.call(loop, {1}).instructions, 4u);
  EXPECT_EQ(machine.call(loop, {1001}).status, CallStatus::kBudgetExceeded);
}

TEST(GuestMachine, TheBudgetStopsOnlyCallsThatRunPastIt) {
  MachineOptions options;
  options.instruction_budget = 2002;  // counted in blocks: never more than the instructions
  GuestMachine machine(options);
  const GuestAddr loop =
      place(machine, {0x8b, 0x4c, 0x24, 0x04, 0x49, 0x75, 0xfd, 0xc2, 0x04, 0x00});
  EXPECT_EQ(machine.call(loop, {1000}).status, CallStatus::kOk);
  EXPECT_EQ(machine.call(loop, {3000}).status, CallStatus::kBudgetExceeded);
}

TEST(GuestMachine, FsPointsAtAThreadBlockThatNamesItself) {
  GuestMachine machine;
  // mov eax, fs:[0x18]; mov ecx, [eax+0x18]; sub eax, ecx; ret (0 when they agree)
  const GuestAddr self =
      place(machine, {0x64, 0xa1, 0x18, 0, 0, 0, 0x8b, 0x48, 0x18, 0x29, 0xc8, 0xc3});
  const CallResult r = machine.call(self, {}, Conv::kCdecl);
  ASSERT_EQ(r.status, CallStatus::kOk) << r.what;
  EXPECT_EQ(r.eax, 0u);
  // fs:[0x2c], the implicit TLS slots, is readable memory.
  const GuestAddr tls = place(machine, {0x64, 0xa1, 0x2c, 0, 0, 0, 0x8b, 0x00, 0xc3});
  EXPECT_EQ(machine.call(tls, {}, Conv::kCdecl).status, CallStatus::kOk);
}

TEST(GuestMachine, ReadsAndWritesAreBoundsChecked) {
  GuestMachine machine;
  uint32_t word = 0;
  EXPECT_FALSE(machine.read(0x10, &word, 4));
  EXPECT_FALSE(machine.write(0x10, &word, 4));
  EXPECT_THROW(machine.read_u32(0x7ff00000), host::emu::EmulationError);
  const GuestAddr block = machine.host_block(8, "text");
  machine.write(block, "abc", 4);
  EXPECT_EQ(machine.read_string(block), "abc");
  EXPECT_EQ(machine.read_string(block, 2), "ab");
}

// Not a check: what a call costs, printed for the record.
TEST(GuestMachine, PrintsWhatACallCosts) {
  struct Setup {
    const char* name;
    MachineOptions options;
  };
  const Setup setups[] = {{"default (budget by blocks)", {}},
                          {"no budget", {0, false, false}},
                          {"check_writes", {50'000'000, true, false}},
                          {"count_instructions", {50'000'000, false, true}}};
  for (const Setup& s : setups) {
    GuestMachine machine(s.options);
    const GuestAddr stub = machine.make_stub("nothing", 4, [](StubCall&) { return 1u; });
    const GuestAddr trivial = place(machine, {0xb8, 1, 0, 0, 0, 0xc2, 0x04, 0x00});
    // a loop of 1000 iterations that writes the stack: push/pop, dec, jnz
    const GuestAddr loop =
        place(machine, {0xb9, 0xe8, 0x03, 0, 0, 0x50, 0x58, 0x49, 0x75, 0xfb, 0xc2, 0x04, 0x00});
    Bytes with_stub = {0x6a, 0x00};
    const Bytes tail = calls(stub, 4);
    with_stub.insert(with_stub.end(), tail.begin(), tail.end());
    const GuestAddr stubbed = place(machine, with_stub);
    for (const auto& [what, routine, count] : {std::tuple{"empty call", trivial, 20000},
                                               std::tuple{"call into one stub", stubbed, 20000},
                                               std::tuple{"1000-iteration loop", loop, 200}}) {
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < count; ++i) ASSERT_EQ(machine.call(routine, {0}).status, CallStatus::kOk);
      const double ns =
          std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
              .count() /
          count;
      std::printf("[ cost     ] %-28s %-20s %10.0f ns per call\n", s.name, what, ns);
    }
  }
}

}  // namespace
}  // namespace emu_tests
