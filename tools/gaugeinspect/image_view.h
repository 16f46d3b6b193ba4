#pragma once
// The module's records seen through its section table, as the loader would
// lay them out, without loading it: a record is a bounds-checked copy of the
// bytes at an RVA, and a pointer field counts as a pointer only when the
// relocation table lists it.
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/base_relocations.h"
#include "formats/pe_image.h"

namespace gaugeinspect {

// A record that cannot be read where a pointer or export says it is.
struct RecordError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Pointer {
  uint32_t raw = 0;                // the value the file holds
  bool relocated = false;          // the relocation table lists the field
  std::optional<uint32_t> target;  // the RVA it points at inside the image
  std::string error;               // set for a value that is no usable pointer

  bool is_null() const { return raw == 0 && !relocated; }
  bool ok() const { return error.empty(); }
};

class ImageView;

class Record {
 public:
  uint32_t rva() const { return rva_; }
  uint32_t size() const { return static_cast<uint32_t>(bytes_.size()); }
  // Offsets are the record's own; one past its end throws RecordError.
  uint8_t u8(uint32_t offset) const;
  uint32_t u32(uint32_t offset) const;
  int32_t i32(uint32_t offset) const { return static_cast<int32_t>(u32(offset)); }
  double f64(uint32_t offset) const;
  Pointer pointer(uint32_t offset) const;

 private:
  friend class ImageView;
  Record(const ImageView& view, uint32_t rva, std::vector<uint8_t> bytes)
      : view_(&view), rva_(rva), bytes_(std::move(bytes)) {}

  const ImageView* view_;
  uint32_t rva_;
  std::vector<uint8_t> bytes_;
};

class ImageView {
 public:
  ImageView(const formats::PeImage& pe, const formats::BaseRelocations& relocations)
      : pe_(pe), relocations_(relocations) {}

  // `length` bytes at `rva`, all inside one section; bytes the section maps
  // but the file does not hold read as zero, as after loading.
  Record record(uint32_t rva, uint32_t length, const std::string& what) const;
  // The pointer field at `field_rva` holding `raw`.
  Pointer pointer(uint32_t field_rva, uint32_t raw) const;
  // A NUL-terminated string of at most `max_length` characters in one section.
  std::string c_string(uint32_t rva, size_t max_length, const std::string& what) const;

  bool in_code(uint32_t rva) const;
  bool in_data(uint32_t rva) const;
  const formats::PeImage& pe() const { return pe_; }

 private:
  const formats::PeImage& pe_;
  const formats::BaseRelocations& relocations_;
};

std::string hex32(uint32_t value);

}  // namespace gaugeinspect
