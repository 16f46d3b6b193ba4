#include "gpws/test_button_gauge.h"

#include "frame/host_facts.h"
#include "frame/host_services.h"
#include "gpws/gpws_state.h"
#include "gpws/update_steps.h"

namespace gpws {
namespace {

void install() {
  GpwsState& s = gpws_state;
  frame::host_register_variable(&s.dh_gpws_value, facts::kNamedVariableType, facts::kVarDhGpws);
  frame::host_register_variable(&s.radalt_gpws_value, facts::kNamedVariableType,
                                facts::kVarRadaltGpws);
  for (frame::SoundSlot& slot : s.slot) frame::sound_load(slot);
}

// Sounds are unloaded without a stop, and the loaded flags stay as they are.
void kill() {
  frame::host_unregister_variable(facts::kVarDhGpws);
  frame::host_unregister_variable(facts::kVarRadaltGpws);
  for (frame::SoundSlot& slot : gpws_state.slot) frame::sound_unload(slot);
}

}  // namespace

void GAUGE_CALL test_button_callback(frame::GaugeHeader* gauge, uint32_t service,
                                     uint32_t /*extra*/) {
  switch (service) {
    case frame::kServiceInstall:
      install();
      break;
    case frame::kServiceUpdate:
      gpws_update(gauge);
      break;
    case frame::kServiceKill:
      kill();
      break;
    default:
      break;
  }
}

}  // namespace gpws
