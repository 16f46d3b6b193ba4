#include "radalt/radalt_state.h"

#include "frame/host_facts.h"
#include "radalt/decision_height.h"

namespace radalt {

constinit RadaltState radalt_state = {kLowestDhFt, dh_metres(kLowestDhFt), 0, 0, 0, 0};
constinit frame::ModuleVar power_var{facts::token::kPower, nullptr, 0, 0.0, {}};

}  // namespace radalt
