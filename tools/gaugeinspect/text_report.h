#pragma once
// The whole module as text for a person at a terminal.
#include <string>

#include "tools/gaugeinspect/gauge_model.h"

namespace gaugeinspect {

std::string text_report(const Module& m);

// Bytes outside printable ASCII shown as \xNN, so a hostile name cannot
// drive the terminal.
std::string printable(const std::string& text);

}  // namespace gaugeinspect
