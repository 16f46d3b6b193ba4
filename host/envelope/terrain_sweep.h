#pragma once
// The terrain envelope of the real vrn_gpws module, found by flying it: for
// each height above the terrain and closure rate of a grid, a freshly loaded
// GPWS flies level over flat terrain, then the terrain rises towards it at
// that closure rate until it is that far below; the cell says whether the
// terrain alert (the PULL UP lamp) had begun by then.
#include <cstdint>
#include <functional>

#include "host/envelope/sweep_grid.h"

namespace host::envelope {

// Rows: height above the terrain in ft; columns: closure rate in ft/min.
// `cell_done`, when given, is called after each cell.
SweepMap<uint8_t> sweep_terrain(const SweepSetup& setup, const GridAxis& height_ft,
                                const GridAxis& closure_fpm,
                                const std::function<void()>& cell_done = nullptr);

// One cell of the sweep, with its own freshly loaded module.
bool terrain_alert(const SweepSetup& setup, double height_ft, double closure_fpm);

}  // namespace host::envelope
