// Step 15: the terrain closure alert. Inside the terrain envelope the alert
// (re)starts the warning cycle; it clears on gear down or on a climb of more
// than 300 ft above the altitude where it began.
#include "frame/host_facts.h"
#include "gpws/deadline.h"
#include "gpws/gpws_state.h"
#include "gpws/inputs.h"
#include "gpws/terrain_math.h"
#include "gpws/update_steps.h"

namespace gpws {
namespace {

constexpr double kClearingClimbFt = 300.0;
constexpr uint32_t kFirstAnnouncementTicks = 18;

void terrain_reset() {
  GpwsState& s = gpws_state;
  s.terrain_captured = 0;
  s.terrain_state = kNoTerrain;
  s.terrain_deadline = kDisarmedDeadline;
}

}  // namespace

void terrain_closure(const GpwsInputs& in) {
  GpwsState& s = gpws_state;
  if (in.gear_position >= kGearDown) {
    terrain_reset();
    return;
  }
  s.closure_rate = estimate_closure(s.closure_estimator, in.terrain_height, in.time_seconds);
  s.climb_altitude_ft = in.altitude_units == kMetresSelector
                            ? in.climb_altitude * facts::kFeetPerMetre
                            : in.climb_altitude;
  if (terrain_envelope(in.terrain_height, s.closure_rate)) {
    if (s.terrain_captured == 0) s.terrain_ref_altitude = s.climb_altitude_ft;
    s.terrain_captured = 1;
    s.terrain_state = kTerrainBelowRef;
    s.warning_phase = kWarningLampLit;
    if (s.terrain_deadline == kDisarmedDeadline) {
      s.terrain_deadline = deadline_after(in.clock_ticks, kFirstAnnouncementTicks);
    }
  }
  if (s.climb_altitude_ft > s.terrain_ref_altitude && s.terrain_state == kTerrainBelowRef) {
    s.terrain_state = kTerrainAboveRef;
  }
  if (s.terrain_ref_altitude + kClearingClimbFt >= s.climb_altitude_ft) return;
  terrain_reset();
}

}  // namespace gpws
