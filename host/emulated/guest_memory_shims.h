#pragma once
// The runtime shims that work on guest memory: the heap, the string and
// memory functions, the two virtual memory calls and the standard files.
#include <cstdint>

#include "host/emulated/guest_machine.h"

namespace host::emu {

uint32_t malloc_shim(StubCall& c);
uint32_t calloc_shim(StubCall& c);
uint32_t realloc_shim(StubCall& c);
uint32_t free_shim(StubCall& c);
uint32_t memcpy_shim(StubCall& c);  // also memmove: copied through a host buffer
uint32_t memset_shim(StubCall& c);
uint32_t strlen_shim(StubCall& c);
uint32_t strcmp_shim(StubCall& c);
uint32_t strncmp_shim(StubCall& c);
uint32_t errno_location(StubCall& c);
uint32_t fwrite_shim(StubCall& c);
uint32_t vfprintf_shim(StubCall& c);
// Answers truthfully about the guest's map.
uint32_t virtual_query(StubCall& c);
uint32_t virtual_protect(StubCall& c);

}  // namespace host::emu
