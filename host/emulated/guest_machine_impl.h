#pragma once
// The guest machine's insides, shared by the machine, its memory and the
// module loader: the engine, the memory regions and their host memory, the
// stubs, the heap and the state of the call in progress.
#include <unicorn/unicorn.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/emulated/guest_heap.h"
#include "host/emulated/guest_layout.h"
#include "host/emulated/guest_machine.h"

namespace host::emu {

// A mapped range with the host memory behind it (every region is mapped with
// uc_mem_map_ptr, so the host reads and writes it directly).
struct GuestRegion {
  GuestAddr base = 0;
  uint32_t size = 0;
  uint8_t* host = nullptr;
  uint32_t perms = 0;  // UC_PROT_*
  std::string what;
  bool contains(GuestAddr addr, uint64_t length) const {
    return addr >= base && uint64_t{addr} - base + length <= size;
  }
};

struct GuestMachine::Impl {
  explicit Impl(GuestMachine& self, MachineOptions options);
  ~Impl();

  // Maps `size` bytes (a multiple of the page) at `base` backed by fresh
  // zeroed host memory; throws EmulationError when the range is taken.
  GuestRegion& map(GuestAddr base, uint32_t size, uint32_t perms, std::string what);
  // Maps a part of memory allocated with map_backing.
  void map_existing(GuestAddr base, uint32_t size, uint32_t perms, uint8_t* host, std::string what);
  uint8_t* map_backing(uint32_t size);  // zeroed, page aligned, freed with the machine
  void unmap(GuestAddr base, uint32_t size);
  const GuestRegion* region_of(GuestAddr addr, uint64_t length) const;
  // The host memory of [addr, addr + length), or null unless one region holds it all.
  uint8_t* host_pointer(GuestAddr addr, uint64_t length) const;
  bool range_free(GuestAddr base, uint64_t size) const;
  // Where an image of `size` bytes goes: `preferred` when free, else the
  // lowest free 64 KiB aligned place from kImagesFloor up; 0 when full.
  GuestAddr place_image(GuestAddr preferred, uint32_t size) const;
  void set_protection(GuestAddr base, uint32_t size, uint32_t perms);

  // Writes a module image's writable range for the stray-write check.
  void add_writable(GuestAddr base, uint32_t size) { writable.push_back({base, size}); }
  void remove_writable(GuestAddr base, uint32_t size);
  bool write_allowed(GuestAddr addr, uint32_t size) const;

  // Ends the call in progress (from a hook) with `status` and `what`.
  void stop(CallStatus status, std::string what);
  uint32_t eip() const;

  GuestMachine& self;
  MachineOptions options;
  uc_engine* uc = nullptr;
  std::vector<GuestRegion> regions;
  std::vector<std::pair<uint8_t*, size_t>> backings;

  struct Stub {
    std::string name;
    uint32_t arg_bytes = 0;
    StubFn fn;
    Convention convention = Convention::kStdcall;
  };
  std::vector<Stub> stubs;

  GuestHeap heap{layout::kHeap, layout::kHeapSize};
  uint64_t heap_calls = 0;
  bool heap_forbidden = false;  // see GuestMachine::forbid_heap_calls
  GuestAddr next_host_block = layout::kHostBlocks;
  std::vector<std::pair<GuestAddr, uint32_t>> host_blocks;
  std::vector<std::pair<GuestAddr, uint32_t>> writable;  // module sections that may be written
  std::map<std::string, GuestAddr> imports;              // "dll!name" or "dll#ordinal" -> address
  uint32_t next_tls_index = 0;
  uint32_t last_error = 0;           // GetLastError
  GuestAddr errno_block = 0;         // _errno(), made when first asked for
  GuestAddr iob_block = 0;           // msvcrt's _iob, when a module imports it
  std::vector<uint32_t> tls_values;  // TlsAlloc / TlsGetValue slots

  // The call in progress.
  int depth = 0;
  bool returned = false;  // the call in progress reached its stop address
  CallStatus stop_status = CallStatus::kOk;
  std::string stop_reason;
  uint64_t blocks = 0;
  uint64_t instructions = 0;
  uint8_t* stack_host = nullptr;
  uint8_t* scratch_host = nullptr;
};

// What the loader's files share: addresses as its messages print them
// ("0x0000abcd"), sizes rounded to whole pages, the machine behind a stub's
// call, and the size of msvcrt's FILE (the runtime's _iob is three of them).
inline std::string hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%08llx", static_cast<unsigned long long>(value));
  return text;
}

inline uint32_t page_rounded(uint64_t size) {
  return static_cast<uint32_t>((size + layout::kPage - 1) & ~uint64_t{layout::kPage - 1});
}

inline GuestMachine::Impl& impl(StubCall& c) {
  return c.machine().impl();
}

inline constexpr uint32_t kMsvcrtFileBytes = 32;

}  // namespace host::emu
