#pragma once
// The allocator behind the runtime shims' malloc, calloc, realloc and free:
// blocks in the guest's heap region, first fit from freed blocks, else from
// the end. The loader's own allocations (TLS copies) come from here too.
#include <cstdint>
#include <map>
#include <optional>

namespace host::emu {

class GuestHeap {
 public:
  GuestHeap(uint32_t base, uint32_t size) : base_(base), end_(base + size), next_(base) {}

  // 0 when the heap is full (as malloc answers).
  uint32_t allocate(uint32_t size);
  // False for an address that is no live block.
  bool release(uint32_t addr);
  // The size of the live block at `addr`.
  std::optional<uint32_t> block_size(uint32_t addr) const;
  // Whether [addr, addr + size) lies inside one live block.
  bool inside_live_block(uint32_t addr, uint32_t size) const;

 private:
  uint32_t base_;
  uint32_t end_;
  uint32_t next_;
  std::map<uint32_t, uint32_t> live_;               // address -> requested size
  std::multimap<uint32_t, uint32_t> free_by_size_;  // rounded size -> address
};

}  // namespace host::emu
