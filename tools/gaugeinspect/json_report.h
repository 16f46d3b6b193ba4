#pragma once
// The whole module as one JSON document, for tools and the golden checks.
#include "tools/gaugeinspect/gauge_model.h"
#include "tools/gaugeinspect/json_layout.h"

namespace gaugeinspect {

// A pointer is null, the RVA it points at, or {"raw": value, "error": why}.
Json pointer_json(const Pointer& p);
Json json_report(const Module& m);

}  // namespace gaugeinspect
