#pragma once
// A host's own copy of a placed gauge's header and element chain, relinked
// among themselves, as a host that keeps one copy per placed instance does.
// The gauge callback is handed the copy's header, and the copy is what is
// drawn and watched; the module's static records stay the template.
#include <memory>
#include <vector>

#include "frame/records.h"

namespace host {

class GaugeCopy {
 public:
  // `chain` is the template's chain, walked from `header`, in order.
  GaugeCopy(const frame::GaugeHeader& header, const std::vector<frame::ElementHeader*>& chain);
  GaugeCopy(const GaugeCopy&) = delete;
  GaugeCopy& operator=(const GaugeCopy&) = delete;

  frame::GaugeHeader* header() { return &header_; }
  // Element i of the copy's chain.
  frame::ElementHeader* element(size_t i) { return &elements_[i].header; }

 private:
  // Room for the largest record; only the bytes of the element's own type
  // are copied, the rest stays zero.
  union ElementRecord {
    frame::ElementHeader header;
    frame::StaticElement static_image;
    frame::IconElement icon;
    frame::NeedleElement needle;
  };
  struct NextList {
    frame::ElementHeader* entries[2];  // the next element, then the null that ends the list
  };

  frame::GaugeHeader header_;
  frame::ElementHeader* element_list_ = nullptr;
  std::vector<ElementRecord> elements_;  // sized once: the addresses never move
  std::vector<std::unique_ptr<NextList>> next_lists_;
};

}  // namespace host
