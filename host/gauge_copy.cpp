#include "host/gauge_copy.h"

#include <cstring>

namespace host {
namespace {

// The record's size by its type; an unknown type is copied as its header.
size_t record_size(uint32_t type) {
  switch (type) {
    case frame::kStaticImage:
      return sizeof(frame::StaticElement);
    case frame::kIcon:
      return sizeof(frame::IconElement);
    case frame::kNeedle:
      return sizeof(frame::NeedleElement);
    default:
      return sizeof(frame::ElementHeader);
  }
}

}  // namespace

GaugeCopy::GaugeCopy(const frame::GaugeHeader& header,
                     const std::vector<frame::ElementHeader*>& chain)
    : header_(header), elements_(chain.size()) {
  for (size_t i = 0; i < chain.size(); ++i) {
    std::memcpy(&elements_[i], chain[i], record_size(chain[i]->type));
  }
  for (size_t i = 0; i < chain.size(); ++i) {
    frame::ElementHeader& copy = elements_[i].header;
    copy.gauge = &header_;
    if (i + 1 < chain.size()) {
      next_lists_.push_back(std::make_unique<NextList>(NextList{{element(i + 1), nullptr}}));
      copy.next_list = next_lists_.back()->entries;
    } else {
      copy.next_list = nullptr;
    }
  }
  element_list_ = chain.empty() ? nullptr : element(0);
  header_.element_list = &element_list_;
}

}  // namespace host
