#pragma once
// One gauge header and what hangs off it: its name, element chain and mouse
// rectangle list.
#include <cstdint>
#include <vector>

#include "tools/gaugeinspect/gauge_model.h"
#include "tools/gaugeinspect/image_view.h"

namespace gaugeinspect {

// Never throws on bad file contents: what cannot be read is named in the
// record's error fields.
GaugeRecord read_gauge(const ImageView& view, uint32_t rva,
                       std::vector<FailureListRecord>& failures);

}  // namespace gaugeinspect
