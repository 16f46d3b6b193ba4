// The guest machine's address space: regions backed by host memory, the
// bounds-checked reads and writes, host blocks and where images go.
#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/emulated/guest_machine_impl.h"

namespace host::emu {
namespace {

}  // namespace

uint8_t* GuestMachine::Impl::map_backing(uint32_t size) {
  void* host = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (host == MAP_FAILED) throw EmulationError("out of host memory for the guest machine");
  backings.emplace_back(static_cast<uint8_t*>(host), size);
  return static_cast<uint8_t*>(host);
}

void GuestMachine::Impl::map_existing(GuestAddr base, uint32_t size, uint32_t perms, uint8_t* host,
                                      std::string what) {
  const uc_err err = uc_mem_map_ptr(uc, base, size, perms, host);
  if (err != UC_ERR_OK) {
    throw EmulationError("cannot map " + what + " at " + hex(base) + ": " + uc_strerror(err));
  }
  GuestRegion r{base, size, host, perms, std::move(what)};
  regions.insert(
      std::upper_bound(regions.begin(), regions.end(), r,
                       [](const GuestRegion& a, const GuestRegion& b) { return a.base < b.base; }),
      std::move(r));
}

GuestRegion& GuestMachine::Impl::map(GuestAddr base, uint32_t size, uint32_t perms,
                                     std::string what) {
  map_existing(base, size, perms, map_backing(size), std::move(what));
  return *std::find_if(regions.begin(), regions.end(),
                       [&](const GuestRegion& r) { return r.base == base; });
}

void GuestMachine::Impl::unmap(GuestAddr base, uint32_t size) {
  uc_mem_unmap(uc, base, size);
  std::erase_if(regions,
                [&](const GuestRegion& r) { return r.base >= base && r.base - base < size; });
}

const GuestRegion* GuestMachine::Impl::region_of(GuestAddr addr, uint64_t length) const {
  auto it = std::upper_bound(regions.begin(), regions.end(), addr,
                             [](GuestAddr a, const GuestRegion& r) { return a < r.base; });
  if (it == regions.begin()) return nullptr;
  --it;
  return it->contains(addr, length) ? &*it : nullptr;
}

uint8_t* GuestMachine::Impl::host_pointer(GuestAddr addr, uint64_t length) const {
  const GuestRegion* r = region_of(addr, length);
  return r == nullptr ? nullptr : r->host + (addr - r->base);
}

bool GuestMachine::Impl::range_free(GuestAddr base, uint64_t size) const {
  if (size == 0 || uint64_t{base} + size > (uint64_t{1} << 32)) return false;
  for (const GuestRegion& r : regions) {
    if (uint64_t{base} < uint64_t{r.base} + r.size && uint64_t{r.base} < uint64_t{base} + size) {
      return false;
    }
  }
  return true;
}

GuestAddr GuestMachine::Impl::place_image(GuestAddr preferred, uint32_t size) const {
  const uint32_t span = page_rounded(size);
  if (preferred % layout::kImageAlignment == 0 && preferred >= layout::kImagesFloor &&
      range_free(preferred, span)) {
    return preferred;
  }
  for (uint64_t at = layout::kImagesFloor; at + span <= layout::kImagesCeiling;
       at += layout::kImageAlignment) {
    if (range_free(static_cast<GuestAddr>(at), span)) return static_cast<GuestAddr>(at);
  }
  return 0;
}

void GuestMachine::Impl::set_protection(GuestAddr base, uint32_t size, uint32_t perms) {
  uc_mem_protect(uc, base, size, perms);
  // A region only partly changed keeps the union, so that memory which may
  // now hold code is still written through the engine.
  for (GuestRegion& r : regions) {
    const uint64_t end = uint64_t{base} + size;
    if (uint64_t{r.base} + r.size <= base || r.base >= end) continue;
    const bool whole = r.base >= base && uint64_t{r.base} + r.size <= end;
    r.perms = whole ? perms : (r.perms | perms);
  }
}

void GuestMachine::Impl::remove_writable(GuestAddr base, uint32_t size) {
  std::erase_if(writable, [&](const auto& w) { return w.first >= base && w.first - base < size; });
}

bool GuestMachine::Impl::write_allowed(GuestAddr addr, uint32_t size) const {
  const uint64_t end = uint64_t{addr} + size;
  if (addr >= layout::kStackBottom && end <= layout::kStackTop) return true;
  // The thread block and what the stubs hand back are the machine's own.
  if (addr >= layout::kTib && end <= layout::kTib + layout::kPage) return true;
  if (addr >= layout::kScratch && end <= layout::kScratch + layout::kPage) return true;
  if (addr >= layout::kHeap && end <= uint64_t{layout::kHeap} + layout::kHeapSize) {
    return heap.inside_live_block(addr, size);
  }
  const auto inside = [&](const std::pair<GuestAddr, uint32_t>& w) {
    return addr >= w.first && end <= uint64_t{w.first} + w.second;
  };
  return std::any_of(writable.begin(), writable.end(), inside) ||
         std::any_of(host_blocks.begin(), host_blocks.end(), inside);
}

bool GuestMachine::read(GuestAddr addr, void* out, size_t size) const {
  if (size == 0) return true;
  if (const uint8_t* host = impl_->host_pointer(addr, size)) {
    std::memcpy(out, host, size);
    return true;
  }
  return uc_mem_read(impl_->uc, addr, out, size) == UC_ERR_OK;
}

bool GuestMachine::write(GuestAddr addr, const void* data, size_t size) {
  if (size == 0) return true;
  const GuestRegion* r = impl_->region_of(addr, size);
  // Memory that may hold code is written through the engine, which drops
  // whatever it translated from the old bytes.
  if (r != nullptr && (r->perms & UC_PROT_EXEC) == 0) {
    std::memcpy(r->host + (addr - r->base), data, size);
    return true;
  }
  return uc_mem_write(impl_->uc, addr, data, size) == UC_ERR_OK;
}

uint32_t GuestMachine::read_u32(GuestAddr addr) const {
  uint32_t v = 0;
  if (!read(addr, &v, sizeof v)) throw EmulationError("read of unmapped address " + hex(addr));
  return v;
}

int32_t GuestMachine::read_i32(GuestAddr addr) const {
  int32_t v = 0;
  if (!read(addr, &v, sizeof v)) throw EmulationError("read of unmapped address " + hex(addr));
  return v;
}

double GuestMachine::read_f64(GuestAddr addr) const {
  double v = 0;
  if (!read(addr, &v, sizeof v)) throw EmulationError("read of unmapped address " + hex(addr));
  return v;
}

void GuestMachine::write_u32(GuestAddr addr, uint32_t value) {
  if (!write(addr, &value, sizeof value)) {
    throw EmulationError("write to unmapped address " + hex(addr));
  }
}

void GuestMachine::write_f64(GuestAddr addr, double value) {
  if (!write(addr, &value, sizeof value)) {
    throw EmulationError("write to unmapped address " + hex(addr));
  }
}

std::string GuestMachine::read_string(GuestAddr addr, size_t max_length) const {
  std::string text;
  char c = 0;
  while (text.size() < max_length) {
    if (!read(addr + static_cast<GuestAddr>(text.size()), &c, 1)) {
      if (text.empty()) throw EmulationError("read of unmapped address " + hex(addr));
      break;
    }
    if (c == '\0') break;
    text.push_back(c);
  }
  return text;
}

GuestAddr GuestMachine::host_block(size_t size, const char* what) {
  Impl& m = *impl_;
  const uint64_t want = (uint64_t{size == 0 ? 1 : size} + 15) & ~uint64_t{15};
  if (want > uint64_t{layout::kHostBlocks} + layout::kHostBlocksSize - m.next_host_block) {
    throw EmulationError(std::string("no room for the host block ") + what + " of " +
                         std::to_string(size) + " bytes");
  }
  const GuestAddr at = m.next_host_block;
  m.next_host_block += static_cast<uint32_t>(want);
  m.host_blocks.emplace_back(at, static_cast<uint32_t>(size));
  return at;
}

}  // namespace host::emu
