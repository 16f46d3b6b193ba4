#include "host/emulated/guest_heap.h"

namespace host::emu {
namespace {

constexpr uint32_t kAlignment = 16;

uint32_t rounded(uint32_t size) {
  const uint32_t at_least_one = size == 0 ? 1 : size;
  return (at_least_one + kAlignment - 1) & ~(kAlignment - 1);
}

}  // namespace

uint32_t GuestHeap::allocate(uint32_t size) {
  if (size > end_ - base_) return 0;
  const uint32_t want = rounded(size);
  auto fit = free_by_size_.lower_bound(want);
  uint32_t addr = 0;
  if (fit != free_by_size_.end()) {
    addr = fit->second;
    free_by_size_.erase(fit);
  } else {
    if (want > end_ - next_) return 0;
    addr = next_;
    next_ += want;
  }
  live_[addr] = size;
  return addr;
}

bool GuestHeap::release(uint32_t addr) {
  const auto it = live_.find(addr);
  if (it == live_.end()) return false;
  free_by_size_.emplace(rounded(it->second), addr);
  live_.erase(it);
  return true;
}

std::optional<uint32_t> GuestHeap::block_size(uint32_t addr) const {
  const auto it = live_.find(addr);
  if (it == live_.end()) return std::nullopt;
  return it->second;
}

bool GuestHeap::inside_live_block(uint32_t addr, uint32_t size) const {
  auto it = live_.upper_bound(addr);
  if (it == live_.begin()) return false;
  --it;
  return uint64_t{addr} + size <= uint64_t{it->first} + rounded(it->second);
}

}  // namespace host::emu
