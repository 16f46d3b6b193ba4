#pragma once
// The GPWS's one state record, shared by the four gauges of the module.
#include <cstddef>
#include <cstdint>

#include "frame/gauge_call.h"
#include "frame/sound_slot.h"
#include "gpws/terrain_math.h"

namespace gpws {

// Sound slots, in load order.
enum Slot : size_t {
  kSlotSwitchClick = 0,
  kSlotDontSink,
  kSlotGlideslope,
  kSlotMinimums,
  kSlotTooLowFlaps,
  kSlotTooLowGear,
  kSlotSinkRate,
  kSlotPullUp,
  kSlotTerrain1,
  kSlotTerrain2,
  kSlotCount,
};

// The small state fields' values. Each is stored in 32 bits, as the record
// lays it out.
enum TestStage : int32_t { kFirstHalf = 0, kSecondHalf = 1 };
enum MinimumsRearmStage : int32_t {
  kRearmWaitForGearDown = 0,  // the callout height + 1000 ft not yet passed gear down
  kRearmWaitForGearUp = 1,    // passed gear down; gear fully up next gives it back
};
enum WarningPhase : int32_t { kWarningIdle = 0, kWarningLampLit = 1, kWarningLampDark = 2 };
enum TerrainState : int32_t {
  kNoTerrain = 0,
  kTerrainBelowRef = 1,  // alert, aircraft not above the reference altitude
  kTerrainAboveRef = 2,  // alert, aircraft above it
};

struct GpwsState {
  // Derived values.
  int32_t altitude_m;
  int32_t ground_m;
  uint32_t height_ft;
  int32_t vs_fpm;

  // Annunciator and cross-gauge words.
  uint16_t below_gs_lamp;
  uint16_t inop_lamp;
  uint16_t flap_inhibit_active;
  uint16_t flap_inhibit_selected;

  // Named-variable storage, registered with the host.
  int32_t dh_gpws_value;
  int32_t radalt_gpws_value;

  // Self-test.
  int32_t test_active;
  TestStage test_stage;
  uint32_t test_deadline;

  // Callout latches.
  int32_t flaps_latch;
  int32_t gear_latch;
  int32_t dont_sink_latch;
  int32_t minimums_latch;
  int32_t glideslope_latch;
  uint32_t glideslope_deadline;
  uint32_t minimums_rearm_height;
  MinimumsRearmStage minimums_rearm_stage;

  // Warnings and terrain.
  int32_t pullup_trigger;
  int32_t sink_rate_sounding;
  WarningPhase warning_phase;
  uint32_t warning_deadline;
  TerrainState terrain_state;
  uint32_t terrain_deadline;
  int32_t terrain_captured;
  double terrain_ref_altitude;
  double climb_altitude_ft;
  double closure_rate;
  ClosureEstimator closure_estimator;  // never reset while the module is loaded

  frame::SoundSlot slot[kSlotCount];
};

extern GAUGE_LOCAL GpwsState gpws_state;

}  // namespace gpws
