#pragma once
// The image's base relocation table: the places the loader rewrites when
// the module is not loaded at its preferred base. In a 32-bit image every
// absolute address the module holds is listed here, so the table, not the
// look of a value, tells which fields are pointers.
#include <cstdint>
#include <vector>

#include "formats/pe_image.h"

namespace formats {

inline constexpr uint16_t kRelocAbsolute = 0;  // padding that keeps blocks 4-byte sized
inline constexpr uint16_t kRelocHighLow = 3;   // a 32-bit address

class BaseRelocations {
 public:
  BaseRelocations() = default;
  // Reads the image's relocation directory; an image without one has no
  // pointers the loader would fix. Throws PeError on a malformed table.
  explicit BaseRelocations(const PeImage& pe);

  // True when the loader rewrites the 32-bit value at `rva`.
  bool is_pointer(uint32_t rva) const;
  const std::vector<uint32_t>& addresses() const { return addresses_; }  // ascending

 private:
  std::vector<uint32_t> addresses_;
};

}  // namespace formats
