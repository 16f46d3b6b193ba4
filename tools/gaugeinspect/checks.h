#pragma once
// The structural rules every version-700 gauge module keeps. Each broken
// rule is one line naming where; an empty list means the module is sound.
#include <string>
#include <vector>

#include "tools/gaugeinspect/gauge_model.h"

namespace gaugeinspect {

std::vector<std::string> check_module(const Module& m);

// The parts, for check_module and the tests.
std::vector<std::string> check_tables(const Module& m);  // exports, imports, resources, ids
std::vector<std::string> check_gauge(const Module& m, const GaugeRecord& g, size_t index);
// Appends to `out`, each line starting with `label`.
void check_mouse_list(const Module& m, const GaugeRecord& g, const std::string& label,
                      std::vector<std::string>& out);
void check_elements(const Module& m, const GaugeRecord& g, const std::string& label,
                    std::vector<std::string>& out);

}  // namespace gaugeinspect
