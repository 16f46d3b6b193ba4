#include "host/envelope/descent_sweep.h"

#include "host/envelope/gpws_probe.h"
#include "host/panel_host.h"

namespace host::envelope {
namespace {

// The sink-rate voice starts and the lamp lights on the first update in a
// band; a second frame shows nothing new and guards against an off-by-one.
constexpr uint32_t kFramesPerCell = 2;

}  // namespace

DescentAlert descent_alert(PanelHost& panel, double height_ft, double vertical_speed_fpm) {
  // A frame without power ends every warning and latch, so each cell starts
  // as a GPWS that has just come on.
  panel.sim().set(kTokenPower, 0.0);
  panel.run_frame();
  panel.events().clear();
  panel.sim().set(kTokenPower, 1.0);
  panel.sim().set(kTokenGroundElevation, 0.0);
  panel.sim().set(kTokenAltitude, height_ft / kFeetPerMetre);
  panel.sim().set(kTokenVerticalSpeed, vertical_speed_fpm);
  panel.run_frames(kFramesPerCell);
  if (pull_up_lamp_lit(panel, 0)) return DescentAlert::kPullUp;
  if (played(panel, 0, "sinkrate")) return DescentAlert::kSinkRate;
  return DescentAlert::kNone;
}

SweepMap<DescentAlert> sweep_descent(const SweepSetup& setup, const GridAxis& height_ft,
                                     const GridAxis& vertical_speed_fpm,
                                     const std::function<void()>& cell_done) {
  require_voice(setup.sound_root, "sinkrate");
  SweepMap<DescentAlert> map{height_ft, vertical_speed_fpm, {}};
  map.cells.reserve(static_cast<size_t>(height_ft.cells) *
                    static_cast<size_t>(vertical_speed_fpm.cells));
  HostOptions options{setup.modules_dir, setup.sound_root, nullptr};
  options.loader = setup.loader;
  options.emulation = setup.emulation;
  PanelHost panel(options);
  place_gpws(panel);
  for (int32_t row = 0; row < height_ft.cells; ++row) {
    for (int32_t column = 0; column < vertical_speed_fpm.cells; ++column) {
      map.cells.push_back(descent_alert(panel, height_ft.at(row), vertical_speed_fpm.at(column)));
      if (cell_done) cell_done();
    }
  }
  return map;
}

}  // namespace host::envelope
