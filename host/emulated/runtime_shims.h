#pragma once
// The table of runtime shims: one row per KERNEL32.dll or msvcrt.dll import
// the loader provides, with its calling convention and argument bytes.
#include <cstdint>
#include <span>

#include "host/emulated/guest_machine.h"

namespace host::emu {

struct RuntimeShim {
  const char* dll;  // lower case
  const char* name;
  uint32_t arg_bytes;
  GuestMachine::Convention convention;
  uint32_t (*fn)(StubCall&);  // null for a data import and for guest-code shims
  uint32_t data_bytes;        // a data import: a zeroed block of this size
  // Guest code instead of a host function (e.g. _initterm, which calls
  // module code): the bytes are copied into a host block.
  std::span<const uint8_t> code;
};

std::span<const RuntimeShim> runtime_shims();

}  // namespace host::emu
