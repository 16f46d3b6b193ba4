#pragma once
// The grid a sweep flies: each axis sampled at evenly spaced values with
// both ends included, so a coarse grid can land exactly on round numbers.
#include <cstdint>
#include <string>
#include <vector>

#include "host/module_loader.h"

namespace host::envelope {

struct GridAxis {
  double from = 0.0;
  double to = 0.0;
  int32_t cells = 2;  // at least 2

  // The value of cell `i` (0 = from, cells - 1 = to).
  double at(int32_t i) const {
    // Multiplying first keeps whole-number steps exact (2600 * 2 / 13 = 400).
    return from + (to - from) * static_cast<double>(i) / static_cast<double>(cells - 1);
  }
};

// Where the modules and the simulator folder are, as for a flight.
struct SweepSetup {
  std::string modules_dir;
  std::string sound_root;
  std::string loader = {};  // see HostOptions::loader
  host::EmulationSettings emulation = {};
};

// One value per cell, rows along the first axis and columns along the second.
template <typename Cell>
struct SweepMap {
  GridAxis rows;
  GridAxis columns;
  std::vector<Cell> cells;

  Cell at(int32_t row, int32_t column) const {
    return cells[static_cast<size_t>(row) * static_cast<size_t>(columns.cells) +
                 static_cast<size_t>(column)];
  }
};

}  // namespace host::envelope
