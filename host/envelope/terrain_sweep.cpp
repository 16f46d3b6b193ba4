#include "host/envelope/terrain_sweep.h"

#include "host/envelope/gpws_probe.h"
#include "host/panel_host.h"

namespace host::envelope {
namespace {

// The closure estimator starts from zero when the module loads and smooths
// with weight 1/8 per frame: 3 s of level flight let it settle, and after
// 5 s of rising terrain its rate is within about 1 ft/min of the true one.
constexpr uint32_t kLevelFrames = 54;
constexpr uint32_t kRampFrames = 90;
constexpr double kAircraftAltitudeM = 3000.0;  // far above the descent bands
constexpr double kClimbAltitudeFt = 5000.0;

}  // namespace

bool terrain_alert(const SweepSetup& setup, double height_ft, double closure_fpm) {
  // The estimator is never reset while the module is loaded, so every cell
  // gets a module of its own.
  HostOptions options{setup.modules_dir, setup.sound_root, nullptr};
  options.loader = setup.loader;
  options.emulation = setup.emulation;
  PanelHost panel(options);
  place_gpws(panel);
  panel.sim().set(kTokenAltitude, kAircraftAltitudeM);
  panel.sim().set(kTokenGroundElevation, 0.0);
  panel.sim().set(kTokenClimbAltitude, kClimbAltitudeFt);
  const double feet_per_frame = closure_fpm / 60.0 / kFramesPerSecond;
  const double start_ft = height_ft + feet_per_frame * kRampFrames;
  uint32_t frame = 0;
  auto fly = [&](double terrain_ft) {
    ++frame;
    panel.sim().set(kTokenTimeSeconds, frame / kFramesPerSecond);
    panel.sim().set(kTokenTerrainHeight, terrain_ft / kFeetPerMetre);
    panel.run_frame();
  };
  for (uint32_t i = 0; i < kLevelFrames; ++i) fly(start_ft);
  const size_t ramp_from = panel.events().events().size();
  for (uint32_t i = 1; i <= kRampFrames; ++i) fly(start_ft - feet_per_frame * i);
  // The envelope is checked after the warning cycle: the lamp follows on the
  // next update, here with the terrain held where the ramp ended.
  fly(height_ft);
  return pull_up_lamp_lit(panel, ramp_from);
}

SweepMap<uint8_t> sweep_terrain(const SweepSetup& setup, const GridAxis& height_ft,
                                const GridAxis& closure_fpm,
                                const std::function<void()>& cell_done) {
  SweepMap<uint8_t> map{height_ft, closure_fpm, {}};
  map.cells.reserve(static_cast<size_t>(height_ft.cells) * static_cast<size_t>(closure_fpm.cells));
  for (int32_t row = 0; row < height_ft.cells; ++row) {
    for (int32_t column = 0; column < closure_fpm.cells; ++column) {
      map.cells.push_back(terrain_alert(setup, height_ft.at(row), closure_fpm.at(column)) ? 1 : 0);
      if (cell_done) cell_done();
    }
  }
  return map;
}

}  // namespace host::envelope
