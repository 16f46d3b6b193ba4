#include "host/emulated/guest_memory_shims.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "host/emulated/guest_machine_impl.h"

namespace host::emu {
namespace {

constexpr uint32_t kMaxCopy = 64u << 20;  // a copy larger than this is a fault, not a stall
constexpr uint32_t kMemCommit = 0x1000;
constexpr uint32_t kMemFree = 0x10000;
constexpr uint32_t kMemPrivate = 0x20000;
constexpr uint32_t kMemImage = 0x1000000;
constexpr uint32_t kPageNoAccess = 0x01;
constexpr uint32_t kMemoryInfoBytes = 28;

uint32_t windows_protection(uint32_t perms) {
  const bool r = (perms & UC_PROT_READ) != 0;
  const bool w = (perms & UC_PROT_WRITE) != 0;
  const bool x = (perms & UC_PROT_EXEC) != 0;
  if (x) return w ? 0x40 : (r ? 0x20 : 0x10);
  if (w) return 0x04;
  return r ? 0x02 : kPageNoAccess;
}

uint32_t unicorn_perms(uint32_t protection) {
  switch (protection & 0xff) {
    case 0x02:
      return UC_PROT_READ;
    case 0x04:
    case 0x08:
      return UC_PROT_READ | UC_PROT_WRITE;
    case 0x10:
      return UC_PROT_EXEC;
    case 0x20:
      return UC_PROT_READ | UC_PROT_EXEC;
    case 0x40:
    case 0x80:
      return UC_PROT_ALL;
    default:
      return UC_PROT_NONE;
  }
}

std::vector<uint8_t> read_block(StubCall& c, GuestAddr at, uint32_t size) {
  if (size > kMaxCopy) throw EmulationError("a copy of " + std::to_string(size) + " bytes");
  std::vector<uint8_t> bytes(size);
  if (!c.machine().read(at, bytes.data(), size)) throw EmulationError("read of unmapped memory");
  return bytes;
}

void write_block(StubCall& c, GuestAddr at, const std::vector<uint8_t>& bytes) {
  if (!c.machine().write(at, bytes.data(), bytes.size())) {
    throw EmulationError("write to unmapped memory");
  }
}

GuestAddr allocate(StubCall& c, uint64_t size, bool zeroed) {
  auto& m = impl(c);
  if (size > UINT32_MAX) return 0;
  const GuestAddr at = m.heap.allocate(static_cast<uint32_t>(size));
  if (at != 0 && zeroed) write_block(c, at, std::vector<uint8_t>(static_cast<size_t>(size)));
  return at;
}

// The standard output and error files of _iob go to the host's stderr; any
// other file nowhere.
bool is_standard_output(StubCall& c, GuestAddr file) {
  const GuestAddr iob = impl(c).iob_block;
  return iob != 0 && (file == iob + kMsvcrtFileBytes || file == iob + 2 * kMsvcrtFileBytes);
}

// Counts a heap call; while they are forbidden, ends the call into module
// code with the function and its arguments ("malloc(64)") and answers false:
// the shim then leaves the heap as it was.
bool heap_call(StubCall& c, const char* function, std::initializer_list<uint32_t> args,
               bool hex_first) {
  auto& m = impl(c);
  ++m.heap_calls;
  if (!m.heap_forbidden) return true;
  std::string text = std::string(function) + "(";
  bool first = true;
  for (uint32_t a : args) {
    if (!first) text += ", ";
    text += first && hex_first ? hex(a) : std::to_string(a);
    first = false;
  }
  c.fail(CallStatus::kHeapCall, text + ")");
  return false;
}

}  // namespace

uint32_t malloc_shim(StubCall& c) {
  if (!heap_call(c, "malloc", {c.arg(0)}, false)) return 0;
  return allocate(c, c.arg(0), false);
}

uint32_t calloc_shim(StubCall& c) {
  if (!heap_call(c, "calloc", {c.arg(0), c.arg(1)}, false)) return 0;
  return allocate(c, uint64_t{c.arg(0)} * c.arg(1), true);
}

uint32_t free_shim(StubCall& c) {
  auto& m = impl(c);
  if (!heap_call(c, "free", {c.arg(0)}, true)) return 0;
  const GuestAddr at = c.arg(0);
  if (at != 0 && !m.heap.release(at)) {
    char text[64];
    std::snprintf(text, sizeof text, "free of 0x%08x, which is no heap block", at);
    c.fail(CallStatus::kFault, text);
  }
  return 0;
}

uint32_t realloc_shim(StubCall& c) {
  auto& m = impl(c);
  if (!heap_call(c, "realloc", {c.arg(0), c.arg(1)}, true)) return 0;
  const GuestAddr old = c.arg(0);
  const uint32_t size = c.arg(1);
  if (old == 0) return allocate(c, size, false);
  const std::optional<uint32_t> old_size = m.heap.block_size(old);
  if (!old_size) {
    char text[64];
    std::snprintf(text, sizeof text, "realloc of 0x%08x, which is no heap block", old);
    c.fail(CallStatus::kFault, text);
    return 0;
  }
  const GuestAddr fresh = allocate(c, size, false);
  if (fresh == 0) return 0;
  write_block(c, fresh, read_block(c, old, std::min(*old_size, size)));
  m.heap.release(old);
  return fresh;
}

uint32_t memcpy_shim(StubCall& c) {
  write_block(c, c.arg(0), read_block(c, c.arg(1), c.arg(2)));
  return c.arg(0);
}

uint32_t memset_shim(StubCall& c) {
  const uint32_t size = c.arg(2);
  if (size > kMaxCopy) throw EmulationError("a memset of " + std::to_string(size) + " bytes");
  write_block(c, c.arg(0), std::vector<uint8_t>(size, static_cast<uint8_t>(c.arg(1))));
  return c.arg(0);
}

uint32_t strlen_shim(StubCall& c) {
  return static_cast<uint32_t>(c.machine().read_string(c.arg(0), kMaxCopy).size());
}

uint32_t strcmp_shim(StubCall& c) {
  const int r = c.machine()
                    .read_string(c.arg(0), kMaxCopy)
                    .compare(c.machine().read_string(c.arg(1), kMaxCopy));
  return static_cast<uint32_t>(r < 0 ? -1 : (r > 0 ? 1 : 0));
}

uint32_t strncmp_shim(StubCall& c) {
  const uint32_t n = c.arg(2);
  const int r = c.machine().read_string(c.arg(0), n).compare(c.machine().read_string(c.arg(1), n));
  return static_cast<uint32_t>(r < 0 ? -1 : (r > 0 ? 1 : 0));
}

uint32_t errno_location(StubCall& c) {
  auto& m = impl(c);
  if (m.errno_block == 0) m.errno_block = c.machine().host_block(4, "errno");
  return m.errno_block;
}

uint32_t fwrite_shim(StubCall& c) {
  const uint64_t bytes = uint64_t{c.arg(1)} * c.arg(2);
  if (bytes > kMaxCopy) return 0;
  const std::vector<uint8_t> text = read_block(c, c.arg(0), static_cast<uint32_t>(bytes));
  if (is_standard_output(c, c.arg(3))) std::fwrite(text.data(), 1, text.size(), stderr);
  return c.arg(2);
}

uint32_t vfprintf_shim(StubCall& c) {
  // The runtime reports its failures with %s, %d, %p and %x; that is all
  // this formats.
  const std::string format = c.machine().read_string(c.arg(1));
  GuestAddr next = c.arg(2);
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      out.push_back(format[i]);
      continue;
    }
    const char kind = format[++i];
    char text[32];
    if (kind == '%') {
      out.push_back('%');
      continue;
    }
    const uint32_t value = c.machine().read_u32(next);
    next += 4;
    switch (kind) {
      case 's':
        out += c.machine().read_string(value);
        break;
      case 'd':
      case 'i':
        std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(value));
        out += text;
        break;
      case 'c':
        out.push_back(static_cast<char>(value));
        break;
      default:
        std::snprintf(text, sizeof text, kind == 'u' ? "%u" : "%x", value);
        out += text;
    }
  }
  if (is_standard_output(c, c.arg(0))) std::fwrite(out.data(), 1, out.size(), stderr);
  return static_cast<uint32_t>(out.size());
}

uint32_t virtual_query(StubCall& c) {
  auto& m = impl(c);
  const GuestAddr addr = c.arg(0);
  const GuestAddr info = c.arg(1);
  if (c.arg(2) < kMemoryInfoBytes) return 0;
  const GuestAddr page = addr & ~(layout::kPage - 1);
  uint32_t fields[7] = {page, 0, 0, 0, kMemFree, kPageNoAccess, 0};
  if (const GuestRegion* r = m.region_of(addr, 1)) {
    const bool image = r->base >= layout::kImagesFloor;
    fields[1] = r->base;
    fields[2] = windows_protection(r->perms);
    fields[3] = r->base + r->size - page;
    fields[4] = kMemCommit;
    fields[5] = windows_protection(r->perms);
    fields[6] = image ? kMemImage : kMemPrivate;
  } else {
    uint64_t end = uint64_t{1} << 32;
    for (const GuestRegion& r : m.regions) {
      if (r.base > addr && r.base < end) end = r.base;
    }
    fields[3] = static_cast<uint32_t>(end - page);
  }
  if (!c.machine().write(info, fields, sizeof fields)) return 0;
  return kMemoryInfoBytes;
}

uint32_t virtual_protect(StubCall& c) {
  auto& m = impl(c);
  const GuestAddr addr = c.arg(0);
  const uint32_t size = c.arg(1);
  const GuestRegion* r = m.region_of(addr, size == 0 ? 1 : size);
  if (r == nullptr) {
    m.last_error = 487;  // ERROR_INVALID_ADDRESS
    return 0;
  }
  const uint32_t old = windows_protection(r->perms);
  const uint32_t perms = unicorn_perms(c.arg(2));
  const GuestAddr first = addr & ~(layout::kPage - 1);
  const uint64_t last = (uint64_t{addr} + size + layout::kPage - 1) & ~uint64_t{layout::kPage - 1};
  m.set_protection(first, static_cast<uint32_t>(last - first), perms);
  if ((perms & UC_PROT_WRITE) != 0) m.add_writable(first, static_cast<uint32_t>(last - first));
  if (c.arg(3) != 0) c.machine().write_u32(c.arg(3), old);
  return 1;
}

}  // namespace host::emu
