#pragma once
// One bitmap of a module as its bitmaps.manifest lists it. The build writes
// each module's table of them (MODULE/MODULE_bitmaps.h, see
// cmake/BitmapManifest.cmake); the records name the ids, the tests check
// the built pictures against the rest.
#include <cstddef>
#include <cstdint>

namespace frame {

struct BitmapEntry {
  uint32_t id;              // the BITMAP resource the elements name
  const char* name;         // the manifest's symbolic name
  int32_t width;            // pixels
  int32_t height;           // pixels
  int32_t depth;            // bits per pixel: 24, or 8 with a palette
  const char* description;  // drawn from this file in the module's bitmaps/; "" for plain black
};

// Called only where an id is not in the table: being no constexpr function,
// it makes such a lookup fail to compile, naming itself in the error.
void no_bitmap_with_this_id();

// The entry of `id`, for sizes in constant expressions.
template <std::size_t N>
consteval const BitmapEntry& bitmap_entry(const BitmapEntry (&table)[N], uint32_t id) {
  for (const BitmapEntry& entry : table) {
    if (entry.id == id) return entry;
  }
  no_bitmap_with_this_id();
  return table[0];
}

}  // namespace frame
