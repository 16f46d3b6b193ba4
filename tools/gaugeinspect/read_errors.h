#pragma once
// Every part of a module that could not be read, each named by where it is,
// for the reports and the checks alike.
#include <string>
#include <vector>

#include "tools/gaugeinspect/gauge_model.h"

namespace gaugeinspect {

std::vector<std::string> read_errors(const Module& m);

// "gauge 'test'" or, for a gauge whose name could not be read, "gauge 2".
std::string gauge_label(const GaugeRecord& g, size_t index);

}  // namespace gaugeinspect
