#pragma once
// Reads a module file as bytes, never loading or running it.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/gaugeinspect/gauge_model.h"

namespace gaugeinspect {

// Throws PeError or ByteRangeError (formats/) when the bytes are no 32-bit PE image or
// its section, export, import or relocation tables are malformed; anything
// past those is read as far as it goes and its faults kept in the Module.
Module read_module(std::vector<uint8_t> file);

}  // namespace gaugeinspect
