#pragma once
// The envelope map: the descent bands (height above ground against vertical
// speed) and the terrain envelope (height above the terrain against closure
// rate) side by side, each cell coloured by what the GPWS did there, with
// labelled axes and a legend.
#include <cstdint>

#include "host/envelope/descent_sweep.h"
#include "host/envelope/sweep_grid.h"
#include "host/render/image.h"

namespace host::envelope {

inline constexpr render::Rgb kQuietColour{38, 62, 48};
inline constexpr render::Rgb kSinkRateColour{232, 170, 40};
inline constexpr render::Rgb kPullUpColour{214, 48, 40};
inline constexpr render::Rgb kTerrainColour{176, 72, 206};

// Higher values of each row axis are drawn further up, of each column axis
// further right; both maps are shown at the same cell size.
render::Image envelope_picture(const SweepMap<DescentAlert>& descent,
                               const SweepMap<uint8_t>& terrain);

// Where a cell lies in that picture: its top-left pixel and its side.
// `map` 0 is the descent map, 1 the terrain map.
struct CellBox {
  int32_t x;
  int32_t y;
  int32_t side;
};
CellBox cell_box(const SweepMap<DescentAlert>& descent, const SweepMap<uint8_t>& terrain, int map,
                 int32_t row, int32_t column);

}  // namespace host::envelope
