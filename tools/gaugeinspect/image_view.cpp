#include "tools/gaugeinspect/image_view.h"

#include <algorithm>
#include <cstring>

namespace gaugeinspect {

std::string hex32(uint32_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "0x00000000";
  for (int i = 9; i >= 2; --i, value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

uint8_t Record::u8(uint32_t offset) const {
  if (offset >= bytes_.size()) {
    throw RecordError("byte at +" + std::to_string(offset) + " lies past the " +
                      std::to_string(bytes_.size()) + "-byte record");
  }
  return bytes_[offset];
}

uint32_t Record::u32(uint32_t offset) const {
  if (offset > bytes_.size() || bytes_.size() - offset < 4) {
    throw RecordError("field at +" + std::to_string(offset) + " lies past the " +
                      std::to_string(bytes_.size()) + "-byte record");
  }
  uint32_t value = 0;
  for (uint32_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes_[offset + i]) << (8 * i);
  return value;
}

double Record::f64(uint32_t offset) const {
  const uint64_t bits = u32(offset) | (uint64_t{u32(offset + 4)} << 32);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

Pointer Record::pointer(uint32_t offset) const {
  return view_->pointer(rva_ + offset, u32(offset));
}

Record ImageView::record(uint32_t rva, uint32_t length, const std::string& what) const {
  const formats::PeSection* s = pe_.section_at(rva);
  if (s == nullptr) throw RecordError(what + " at RVA " + hex32(rva) + " is in no section");
  const uint64_t into = rva - s->virtual_address;
  if (length > s->mapped_size() - into) {
    throw RecordError(what + ": " + std::to_string(length) + " bytes at RVA " + hex32(rva) +
                      " run past the end of section " + s->name);
  }
  std::vector<uint8_t> bytes(length, 0);
  if (into < s->size_of_raw_data) {
    const uint64_t held = std::min<uint64_t>(length, s->size_of_raw_data - into);
    const formats::ByteReader file(pe_.file_bytes());
    const uint64_t at = uint64_t{s->pointer_to_raw_data} + into;
    if (!file.fits(at, held)) {
      throw RecordError(what + " at RVA " + hex32(rva) + " lies past the end of the file");
    }
    const std::span<const uint8_t> src = file.bytes(at, held, what.c_str());
    std::copy(src.begin(), src.end(), bytes.begin());
  }
  return Record(*this, rva, std::move(bytes));
}

Pointer ImageView::pointer(uint32_t field_rva, uint32_t raw) const {
  Pointer p;
  p.raw = raw;
  p.relocated = relocations_.is_pointer(field_rva);
  if (!p.relocated) {
    if (raw != 0) p.error = "value " + hex32(raw) + " is not relocated, so it is no pointer";
    return p;
  }
  const uint32_t base = pe_.image_base();
  if (raw < base || pe_.section_at(raw - base) == nullptr) {
    p.error = "pointer " + hex32(raw) + " lies outside the image";
    return p;
  }
  p.target = raw - base;
  return p;
}

std::string ImageView::c_string(uint32_t rva, size_t max_length, const std::string& what) const {
  const formats::PeSection* s = pe_.section_at(rva);
  if (s == nullptr) throw RecordError(what + " at RVA " + hex32(rva) + " is in no section");
  const uint64_t room =
      std::min<uint64_t>(s->mapped_size() - (rva - s->virtual_address), uint64_t{max_length} + 1);
  const Record r = record(rva, static_cast<uint32_t>(room), what);
  std::string text;
  for (uint32_t i = 0; i < r.size(); ++i) {
    const char c = static_cast<char>(r.u8(i));
    if (c == '\0') return text;
    text.push_back(c);
  }
  throw RecordError(what + " at RVA " + hex32(rva) + " has no end within " +
                    std::to_string(max_length) + " characters");
}

bool ImageView::in_code(uint32_t rva) const {
  const formats::PeSection* s = pe_.section_at(rva);
  return s != nullptr && s->executable();
}

bool ImageView::in_data(uint32_t rva) const {
  const formats::PeSection* s = pe_.section_at(rva);
  return s != nullptr && s->data();
}

}  // namespace gaugeinspect
