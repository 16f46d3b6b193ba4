#pragma once
// Tiny routines assembled by hand into host blocks, so the guest machine's
// checks are tried without any module.
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/emulated/guest_machine.h"

namespace emu_tests {

using host::emu::GuestAddr;
using host::emu::GuestMachine;
using Bytes = std::vector<uint8_t>;

inline void append_u32(Bytes& code, uint32_t value) {
  for (int i = 0; i < 4; ++i) code.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The routine's bytes in a fresh host block; returns its address.
inline GuestAddr place(GuestMachine& machine, const Bytes& code) {
  const GuestAddr at = machine.host_block(code.size(), "routine");
  machine.write(at, code.data(), code.size());
  return at;
}

// call [target]; ret `pop` (a routine that calls a stub or another routine).
inline Bytes calls(uint32_t target, uint16_t pop = 0) {
  Bytes code = {0xb8};  // mov eax, target
  append_u32(code, target);
  code.insert(code.end(), {0xff, 0xd0});  // call eax
  if (pop == 0) {
    code.push_back(0xc3);
  } else {
    code.insert(code.end(), {0xc2, static_cast<uint8_t>(pop), static_cast<uint8_t>(pop >> 8)});
  }
  return code;
}

}  // namespace emu_tests
