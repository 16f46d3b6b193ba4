#pragma once
// The descent bands of the real vrn_gpws module, found by flying it: for each
// height above ground and vertical speed of a grid, a GPWS that starts with
// no warning sounding is held there for a moment, and what it does is noted.
#include <cstdint>
#include <functional>

#include "host/envelope/sweep_grid.h"

namespace host {
class PanelHost;
}

namespace host::envelope {

enum class DescentAlert : uint8_t {
  kNone,
  kSinkRate,  // the sink-rate voice plays
  kPullUp,    // the PULL UP lamp lights (the pull-up voice follows)
};

// Rows: height above ground in ft; columns: vertical speed in ft/min
// (negative descending). Throws HostError when the module cannot be loaded
// or the sink-rate voice is missing under the sound root (without it the
// voice could not be heard and the map would be silently empty).
// `cell_done`, when given, is called after each cell.
SweepMap<DescentAlert> sweep_descent(const SweepSetup& setup, const GridAxis& height_ft,
                                     const GridAxis& vertical_speed_fpm,
                                     const std::function<void()>& cell_done = nullptr);

// One cell of the sweep at any height and vertical speed, on a panel that
// place_gpws set up: what a GPWS that has just come on does there.
DescentAlert descent_alert(PanelHost& panel, double height_ft, double vertical_speed_fpm);

}  // namespace host::envelope
