#include "frame/element_walk.h"

namespace frame {
namespace {

ElementHeader* walk(ElementHeader* element, uint32_t index) {
  for (uint32_t step = 0; step < index && element != nullptr; ++step) {
    if (element->next_list == nullptr) return nullptr;
    element = element->next_list[0];
  }
  return element;
}

}  // namespace

ElementHeader* hide_element(ElementHeader* first, uint32_t index, uint32_t mask) {
  ElementHeader* element = walk(first, index);
  if (element != nullptr) element->image_flags |= mask;
  return element;
}

ElementHeader* show_element(ElementHeader* first, uint32_t index, uint32_t mask) {
  ElementHeader* element = walk(first, index);
  if (element != nullptr) element->image_flags &= ~mask;
  return element;
}

}  // namespace frame
