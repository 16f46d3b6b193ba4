// What the guest machine's parts cost, for the performance page's note on
// the emulated loader: a call of a bare `ret`, a loop of pushes and pops
// (guest writes) against one of increments, and a call of an empty service
// stub, with each of the machine's checks: the budget's block hook, the
// write check and exact instruction counts. Best of five runs each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "host/emulated/guest_machine.h"

namespace {

using host::emu::GuestAddr;
using host::emu::GuestMachine;
using host::emu::MachineOptions;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr int kCalls = 100000;
constexpr int kLoops = 1000;       // runs of a loop
constexpr uint32_t kTurns = 1000;  // turns of the loop in each

GuestAddr place(GuestMachine& machine, const Bytes& code) {
  const GuestAddr at = machine.host_block(code.size(), "routine");
  machine.write(at, code.data(), code.size());
  return at;
}

// mov ecx, kTurns; again: BODY (4 bytes); dec ecx; jnz again; ret
Bytes loop_of(uint8_t a, uint8_t b) {
  return {0xb9, kTurns & 0xff, kTurns >> 8, 0, 0, a, b, a, b, 0x49, 0x75, 0xf9, 0xc3};
}

// Nanoseconds per run of `routine`, best of five.
double per_run(GuestMachine& machine, GuestAddr routine, int runs) {
  double best = 1e300;
  for (int round = 0; round < 5; ++round) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < runs; ++i) machine.call(routine, {});
    best = std::min(best,
                    std::chrono::duration<double, std::nano>(Clock::now() - start).count() / runs);
  }
  return best;
}

}  // namespace

int main() {
  struct Variant {
    const char* name;
    uint64_t budget;
    bool check_writes;
    bool count;
  };
  const Variant variants[] = {{"no checks", 0, false, false},
                              {"budget (block hook)", 50'000'000, false, false},
                              {"budget, write check", 50'000'000, true, false},
                              {"exact counts", 50'000'000, false, true}};
  std::printf("%-22s %10s %12s %12s %10s\n", "", "call, ns", "write, ns", "turn, ns", "stub, ns");
  for (const Variant& v : variants) {
    MachineOptions options;
    options.instruction_budget = v.budget;
    options.check_writes = v.check_writes;
    options.count_instructions = v.count;
    GuestMachine machine(options);
    const double call = per_run(machine, place(machine, {0xc3}), kCalls);
    // push eax; pop eax twice: two writes a turn; inc eax four times: none.
    const double pushes = per_run(machine, place(machine, loop_of(0x50, 0x58)), kLoops) / kTurns;
    const double adds = per_run(machine, place(machine, loop_of(0x40, 0x40)), kLoops) / kTurns;
    const GuestAddr stub = machine.make_stub("empty", 0, [](host::emu::StubCall&) { return 0u; });
    Bytes calls_stub = {0xb8};  // mov eax, stub; call eax; ret
    for (int i = 0; i < 4; ++i) calls_stub.push_back(static_cast<uint8_t>(stub >> (8 * i)));
    calls_stub.insert(calls_stub.end(), {0xff, 0xd0, 0xc3});
    const double stub_call = per_run(machine, place(machine, calls_stub), kCalls) - call;
    std::printf("%-22s %10.0f %12.1f %12.1f %10.0f\n", v.name, call, (pushes - adds) / 2, adds,
                stub_call);
  }
  return 0;
}
