#include "host/gauge_copy.h"

#include "frame/records.h"

namespace host {
namespace {

// The record's size by its type; an unknown type is copied as its header.
uint32_t record_size(const RecordLayout& l, uint32_t type) {
  switch (type) {
    case frame::kStaticImage:
      return l.static_size;
    case frame::kIcon:
      return l.icon_size;
    case frame::kNeedle:
      return l.needle_size;
    default:
      return l.element_header_size;
  }
}

constexpr uint64_t kAlign = 16;

uint64_t aligned(uint64_t size) {
  return (size + kAlign - 1) / kAlign * kAlign;
}

void copy_bytes(ModuleSpace& space, RecordRef to, RecordRef from, uint32_t size) {
  std::vector<uint8_t> bytes(size);
  space.read(from, bytes.data(), size);
  space.write(to, bytes.data(), size);
}

}  // namespace

GaugeCopy::GaugeCopy(ModuleSpace& space, RecordRef header, const std::vector<RecordRef>& chain,
                     const std::vector<uint32_t>& types) {
  const RecordLayout& l = space.layout();
  const uint64_t pointer = l.pointer_size;
  // One block: the header, the variable holding the first element, each
  // element in room for the largest record, and a two-entry next list
  // (the next element, then the null that ends it) per element.
  const uint64_t element_room = aligned(l.needle_size);
  const uint64_t list_room = aligned(2 * pointer);
  const uint64_t size =
      aligned(l.gauge_size) + aligned(pointer) + chain.size() * (element_room + list_room);
  const RecordRef block = space.allocate(size, "a gauge's own copy");
  header_ = block;
  const RecordRef element_list = block + aligned(l.gauge_size);
  const RecordRef first_element = element_list + aligned(pointer);
  const RecordRef first_list = first_element + chain.size() * element_room;

  copy_bytes(space, header_, header, l.gauge_size);
  for (size_t i = 0; i < chain.size(); ++i) {
    elements_.push_back(first_element + i * element_room);
    copy_bytes(space, elements_[i], chain[i], record_size(l, types[i]));
  }
  for (size_t i = 0; i < chain.size(); ++i) {
    space.write_ref(elements_[i] + l.element_gauge, header_);
    if (i + 1 < chain.size()) {
      const RecordRef list = first_list + i * list_room;
      space.write_ref(list, elements_[i + 1]);
      space.write_ref(list + pointer, 0);
      space.write_ref(elements_[i] + l.element_next_list, list);
    } else {
      space.write_ref(elements_[i] + l.element_next_list, 0);
    }
  }
  space.write_ref(element_list, chain.empty() ? 0 : elements_[0]);
  space.write_ref(header_ + l.gauge_element_list, element_list);
}

}  // namespace host
