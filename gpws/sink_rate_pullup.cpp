// Step 13: the climbing reset, and the pull-up and sink-rate bands.
#include <iterator>

#include "frame/element_walk.h"
#include "gpws/deadline.h"
#include "gpws/gpws_elements.h"
#include "gpws/gpws_state.h"
#include "gpws/update_steps.h"
#include "gpws/voices.h"

namespace gpws {
namespace {

constexpr int32_t kClimbingFpm = 1;
constexpr uint32_t kBandsBelowFt = 2501;
constexpr uint32_t kFirstWarningTicks = 18;

struct DescentBand {
  uint32_t from_ft;  // the band holds heights from here up to the next band
  int32_t pullup_fpm;
  int32_t sink_rate_fpm;
};

// Highest band first; below 11 ft neither warning applies.
constexpr DescentBand kDescentBands[] = {
    {2251, -7000, -5000}, {2001, -6000, -4100}, {1751, -5200, -3800},
    {1501, -4800, -3300}, {1251, -4000, -3000}, {1001, -3400, -2500},
    {751, -2800, -2200},  {501, -2200, -1500},  {11, -1000, -1000},
};
static_assert(std::size(kDescentBands) == 9);

const DescentBand* band_for(uint32_t height_ft) {
  for (const DescentBand& band : kDescentBands) {
    if (height_ft >= band.from_ft) return &band;
  }
  return nullptr;
}

void climbing_reset(frame::GaugeHeader* test_button_gauge) {
  stop_voice(kSlotPullUp);
  stop_voice(kSlotSinkRate);
  GpwsState& s = gpws_state;
  s.pullup_trigger = 0;
  s.sink_rate_sounding = 0;
  s.warning_phase = kWarningIdle;
  s.warning_deadline = kDisarmedDeadline;
  frame::hide(test_button_gauge, kElementWarningLamp);
}

}  // namespace

// Once the pull-up trigger is set neither band is looked at again, and the
// sink-rate loop, once started, runs until a reset whatever the sink rate.
void sink_rate_and_pullup(frame::GaugeHeader* test_button_gauge, const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  if (s.vs_fpm > kClimbingFpm) {
    climbing_reset(test_button_gauge);
    return;
  }
  if (s.height_ft >= kBandsBelowFt || s.pullup_trigger != 0) return;
  if (const DescentBand* band = band_for(s.height_ft); band != nullptr) {
    if (s.vs_fpm < band->pullup_fpm) s.pullup_trigger = 1;
    if (s.sink_rate_sounding == 0 && s.vs_fpm < band->sink_rate_fpm) {
      play_voice(kSlotSinkRate);
      s.sink_rate_sounding = 1;
    }
  }
  if (s.pullup_trigger != 0 && s.warning_phase == kWarningIdle) {
    s.warning_phase = kWarningLampLit;
    s.warning_deadline = deadline_after(in.clock_ticks, kFirstWarningTicks);
  }
}

}  // namespace gpws
