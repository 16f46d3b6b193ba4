#include "tests/fuzz/module_image.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>

namespace fuzz {
namespace {

struct Search {
  const void* inside;  // an address in the module
  std::vector<std::pair<uintptr_t, uintptr_t>> writable;
};

// Adds the writable parts of the object that holds `inside`, leaving out what
// the loader made read-only after relocation.
int find_writable(dl_phdr_info* info, size_t, void* data) {
  auto& search = *static_cast<Search*>(data);
  const auto inside = reinterpret_cast<uintptr_t>(search.inside);
  bool holds = false;
  uintptr_t relro_start = 0, relro_end = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& p = info->dlpi_phdr[i];
    uintptr_t start = info->dlpi_addr + p.p_vaddr;
    if (p.p_type == PT_LOAD && inside >= start && inside < start + p.p_memsz) holds = true;
    if (p.p_type == PT_GNU_RELRO) relro_start = start, relro_end = start + p.p_memsz;
  }
  if (!holds) return 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& p = info->dlpi_phdr[i];
    if (p.p_type != PT_LOAD || (p.p_flags & PF_W) == 0) continue;
    uintptr_t start = info->dlpi_addr + p.p_vaddr;
    uintptr_t end = start + p.p_memsz;
    if (relro_start <= start && start < relro_end) start = relro_end < end ? relro_end : end;
    if (start < end) search.writable.emplace_back(start, end);
  }
  return 1;
}

// Byte by byte and uninstrumented: the data holds the sanitizer's red zones
// between globals, which an instrumented copy would report.
__attribute__((no_sanitize("address"))) void copy_bytes(volatile uint8_t* to,
                                                        const volatile uint8_t* from, size_t n) {
  for (size_t i = 0; i < n; ++i) to[i] = from[i];
}

}  // namespace

ModuleImage::ModuleImage(const std::string& path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_NODELETE);
  if (handle_ == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), dlerror());
    std::exit(2);
  }
  Search search{symbol("Linkage"), {}};
  if (search.inside == nullptr || dl_iterate_phdr(&find_writable, &search) == 0) {
    std::fprintf(stderr, "%s: no Linkage or no writable data found\n", path.c_str());
    std::exit(2);
  }
  for (auto [start, end] : search.writable) {
    Range range{reinterpret_cast<uint8_t*>(start), std::vector<uint8_t>(end - start)};
    copy_bytes(range.bytes.data(), range.start, range.bytes.size());
    ranges_.push_back(std::move(range));
  }
}

void ModuleImage::restore() const {
  for (const Range& range : ranges_)
    copy_bytes(range.start, range.bytes.data(), range.bytes.size());
}

void* ModuleImage::symbol(const char* name) const {
  return dlsym(handle_, name);
}

}  // namespace fuzz
