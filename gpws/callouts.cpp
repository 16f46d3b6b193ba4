// Approach and departure callouts: too low flaps, too low gear, don't sink,
// minimums, and the below-glideslope callout with its lamp.
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "gpws/deadline.h"
#include "gpws/gpws_state.h"
#include "gpws/inputs.h"
#include "gpws/update_steps.h"
#include "gpws/voices.h"

namespace gpws {
namespace {

constexpr double kBelowGlideslope = -59.0;
constexpr double kBackOnGlideslope = -58.0;
constexpr uint32_t kMinimumsRearmMarginFt = 1000;

// Don't sink: the voice plays when the vertical speed is strictly below the
// threshold of the band that holds the height.
struct DontSinkBand {
  uint32_t below_ft;
  double threshold_fpm;
};
constexpr DontSinkBand kDontSinkBands[] = {
    {100, -10.0}, {200, -20.0}, {300, -30.0}, {400, -40.0},
    {500, -45.0}, {600, -50.0}, {700, -55.0},
};
static_assert(std::size(kDontSinkBands) == 7);

bool dont_sink_voice_due(uint32_t height_ft, double vertical_speed) {
  for (const DontSinkBand& band : kDontSinkBands) {
    if (height_ft < band.below_ft) return vertical_speed < band.threshold_fpm;
  }
  return false;  // 700 ft and above: no voice
}

// Glideslope repeat interval, chosen by the height at each callout.
struct GlideslopeRepeat {
  uint32_t above_ft;
  uint32_t repeat_ticks;
};
constexpr GlideslopeRepeat kGlideslopeRepeats[] = {
    {800, 54}, {600, 47}, {400, 36}, {200, 27}, {0, 18},
};
static_assert(std::size(kGlideslopeRepeats) == 5);

uint32_t glideslope_repeat_ticks(uint32_t height_ft) {
  for (const GlideslopeRepeat& r : kGlideslopeRepeats) {
    if (height_ft > r.above_ft) return r.repeat_ticks;
  }
  return kGlideslopeRepeats[std::size(kGlideslopeRepeats) - 1].repeat_ticks;
}

bool too_low_flaps(const GpwsInputs& in) {
  const GpwsState& s = gpws_state;
  if (s.height_ft > 150 || !(in.flap_position < kLandingFlaps) || !(in.vertical_speed < 0.0) ||
      !(in.phase_input > 0.0) || s.flaps_latch != 0 || s.flap_inhibit_active != 0 ||
      s.terrain_state != kNoTerrain) {
    return false;
  }
  play_voice(kSlotTooLowFlaps);
  gpws_state.flaps_latch = 1;
  return true;
}

bool too_low_gear(const GpwsInputs& in) {
  const GpwsState& s = gpws_state;
  if (s.height_ft > 500 || !(in.gear_position < kGearDown) || !(in.vertical_speed < 0.0) ||
      !(in.phase_input > 0.0) || s.gear_latch != 0 || s.terrain_state != kNoTerrain) {
    return false;
  }
  play_voice(kSlotTooLowGear);
  gpws_state.gear_latch = 1;
  return true;
}

bool dont_sink(const GpwsInputs& in) {
  const GpwsState& s = gpws_state;
  if (!(in.phase_input < 0.0) || !(in.vertical_speed < 0.0) || s.dont_sink_latch != 0 ||
      s.terrain_state != kNoTerrain) {
    return false;
  }
  if (dont_sink_voice_due(s.height_ft, in.vertical_speed)) play_voice(kSlotDontSink);
  gpws_state.dont_sink_latch = 1;
  return true;
}

bool minimums(const GpwsInputs& in) {
  const GpwsState& s = gpws_state;
  bool decision_height = s.dh_gpws_value == 1 || s.radalt_gpws_value == 1;
  if (!decision_height || s.minimums_latch != 0 || !(in.phase_input > 0.0)) return false;
  play_voice(kSlotMinimums);
  gpws_state.minimums_latch = 1;
  gpws_state.minimums_rearm_height = s.height_ft + kMinimumsRearmMarginFt;
  return true;
}

}  // namespace

void expire_glideslope_deadline(const GpwsInputs& in) {
  if (!deadline_due(gpws_state.glideslope_deadline, in.clock_ticks)) return;
  gpws_state.glideslope_deadline = kDisarmedDeadline;
  gpws_state.glideslope_latch = 0;
}

void release_latches(const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  if (s.height_ft > 700 || in.vertical_speed > -10.0) s.dont_sink_latch = 0;
  if (s.height_ft > 500) s.gear_latch = 0;
  if (s.height_ft > 150) s.flaps_latch = 0;
}

// After a minimums callout: above the callout height plus 1000 ft, first with
// the gear down, then with it fully up, gives the callout back.
void rearm_minimums(const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  if (in.gear_position > kGearDownForRearm && s.minimums_rearm_stage == kRearmWaitForGearDown &&
      s.height_ft > s.minimums_rearm_height) {
    s.minimums_rearm_stage = kRearmWaitForGearUp;
  }
  if (in.gear_position == 0.0 && s.minimums_rearm_stage == kRearmWaitForGearUp &&
      s.height_ft > s.minimums_rearm_height) {
    s.minimums_latch = 0;
    s.minimums_rearm_stage = kRearmWaitForGearDown;
    s.minimums_rearm_height = 0;
  }
}

// The first callout whose conditions all hold acts; the rest wait.
void callout_chain(const GpwsInputs& in) {
  if (too_low_flaps(in)) return;
  if (too_low_gear(in)) return;
  if (dont_sink(in)) return;
  minimums(in);
}

void glideslope_callout_and_lamp(const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  if (s.height_ft < 1000 && in.glideslope_deviation < kBelowGlideslope && s.glideslope_latch == 0) {
    play_voice(kSlotGlideslope);
    s.below_gs_lamp = 1;
    s.glideslope_deadline = deadline_after(in.clock_ticks, glideslope_repeat_ticks(s.height_ft));
    s.glideslope_latch = 1;
  } else if (in.glideslope_deviation > kBackOnGlideslope) {
    s.below_gs_lamp = 0;
  }
}

}  // namespace gpws
