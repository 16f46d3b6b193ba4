// vrn_radalt's gauge under any input: besides the panel-wide rules, the
// decision height stays in 50..1000 ft with the metric one following it, the
// indicated height never tops 770 m, and the selector and alert are 0 or 1.
#include <string>

#include "radalt/decision_height.h"
#include "radalt/radalt_state.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/fuzz/panel_watch.h"

namespace {

void check_radalt(const host::PanelHost&, const void* state, const char* after) {
  const auto& s = *static_cast<const radalt::RadaltState*>(state);
  if (s.decision_height_ft < radalt::kLowestDhFt || s.decision_height_ft > radalt::kHighestDhFt)
    fuzz::fail(after, "decision height " + std::to_string(s.decision_height_ft) + " ft");
  if (s.decision_height_m != radalt::dh_metres(s.decision_height_ft))
    fuzz::fail(after, "decision height " + std::to_string(s.decision_height_m) + " m for " +
                          std::to_string(s.decision_height_ft) + " ft");
  if (s.indicated_height_m > 770)
    fuzz::fail(after, "indicated height " + std::to_string(s.indicated_height_m) + " m");
  if ((s.dh_armed != 0 && s.dh_armed != 1) || (s.dh_alert_latched != 0 && s.dh_alert_latched != 1))
    fuzz::fail(after, "selector " + std::to_string(s.dh_armed) + ", alert " +
                          std::to_string(s.dh_alert_latched));
}

const fuzz::Target kTarget{"vrn_radalt", {"radalt"}, check_radalt, nullptr};

}  // namespace

MODULE_FUZZ_TARGET(kTarget)
