#include "formats/base_relocations.h"

#include <algorithm>
#include <string>

namespace formats {
namespace {

constexpr uint32_t kBlockHeaderBytes = 8;

}  // namespace

BaseRelocations::BaseRelocations(const PeImage& pe) {
  const std::optional<PeDataDirectory> dir = pe.directory(kDirectoryBaseRelocation);
  if (!dir) return;
  const uint64_t start = pe.file_offset(dir->virtual_address, dir->size, "relocation directory");
  const ByteReader r(pe.file_bytes());
  uint64_t at = start;
  const uint64_t end = start + dir->size;
  while (end - at >= kBlockHeaderBytes) {
    const uint32_t page = r.u32(at, "relocation block VirtualAddress");
    const uint32_t block = r.u32(at + 4, "relocation block SizeOfBlock");
    // Each block moves the walk forward by at least its header, so the
    // loop ends with the directory.
    if (block < kBlockHeaderBytes || block % 2 != 0 || block > end - at) {
      throw PeError("relocation block of " + std::to_string(block) + " bytes at file offset " +
                    std::to_string(at) + " does not fit the relocation directory");
    }
    for (uint64_t e = at + kBlockHeaderBytes; e < at + block; e += 2) {
      const uint16_t entry = r.u16(e, "relocation entry");
      const uint16_t type = entry >> 12;
      if (type == kRelocAbsolute) continue;
      if (type != kRelocHighLow) {
        throw PeError("relocation type " + std::to_string(type) + " in a 32-bit image");
      }
      const uint64_t rva = uint64_t{page} + (entry & 0x0FFF);
      if (rva > UINT32_MAX - 3) throw PeError("relocation past the address space");
      addresses_.push_back(static_cast<uint32_t>(rva));
    }
    at += block;
  }
  std::sort(addresses_.begin(), addresses_.end());
  addresses_.erase(std::unique(addresses_.begin(), addresses_.end()), addresses_.end());
}

bool BaseRelocations::is_pointer(uint32_t rva) const {
  return std::binary_search(addresses_.begin(), addresses_.end(), rva);
}

}  // namespace formats
