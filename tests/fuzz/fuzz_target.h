#pragma once
// What the three module fuzzers share: one module kept loaded for the run, a
// fresh panel host per input with the module's gauges placed, the input flown
// as a forgiving flight and every rule checked after every call.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/panel_host.h"

namespace fuzz {

struct Target {
  const char* module;               // e.g. "vrn_gpws"
  std::vector<const char*> gauges;  // placed in this order
  // The module's own rules, given the state record it exports (or null).
  std::function<void(const host::PanelHost& panel, const void* state, const char* after)> rules;
  // Called at the start of every input, before the host loads anything.
  std::function<void()> reset;
};

void initialize(const Target& target);
int test_one_input(const Target& target, const uint8_t* data, size_t size);

}  // namespace fuzz

// libFuzzer's two entry points, for one target.
#define MODULE_FUZZ_TARGET(target)                                          \
  extern "C" int LLVMFuzzerInitialize(int*, char***) {                      \
    fuzz::initialize(target);                                               \
    return 0;                                                               \
  }                                                                         \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { \
    return fuzz::test_one_input(target, data, size);                        \
  }
