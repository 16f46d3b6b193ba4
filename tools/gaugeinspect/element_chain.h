#pragma once
// A gauge's element chain: from the first element along the first entry of
// each next-element list, with each element's tail, needle table and
// failure list.
#include <string>
#include <vector>

#include "tools/gaugeinspect/gauge_model.h"
#include "tools/gaugeinspect/image_view.h"

namespace gaugeinspect {

// Fills gauge.elements from gauge.first_element. The walk stops, with
// gauge.chain_error set, at an element it cannot read, at one it has seen
// before and after kMaxElements. Failure lists are added to `failures` once
// each. Never throws on bad file contents.
void read_element_chain(const ImageView& view, GaugeRecord& gauge,
                        std::vector<FailureListRecord>& failures);

}  // namespace gaugeinspect
