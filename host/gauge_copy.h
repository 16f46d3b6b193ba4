#pragma once
// A host's own copy of a placed gauge's header and element chain, relinked
// among themselves, as a host that keeps one copy per placed instance does.
// The gauge callback is handed the copy's header, and the copy is what is
// drawn and watched; the module's static records stay the template. The
// copy lives in a block of the module's space (the guest's memory for an
// emulated module), laid out as the module's records are.
#include <cstdint>
#include <vector>

#include "host/module_space.h"

namespace host {

class GaugeCopy {
 public:
  // `chain` is the template's chain, walked from `header`, in order, and
  // `types` the type of each of its elements.
  GaugeCopy(ModuleSpace& space, RecordRef header, const std::vector<RecordRef>& chain,
            const std::vector<uint32_t>& types);
  GaugeCopy(const GaugeCopy&) = delete;
  GaugeCopy& operator=(const GaugeCopy&) = delete;

  RecordRef header() const { return header_; }
  // Element i of the copy's chain.
  RecordRef element(size_t i) const { return elements_[i]; }

 private:
  RecordRef header_ = 0;
  std::vector<RecordRef> elements_;
};

}  // namespace host
