#include "host/envelope/gpws_probe.h"

#include <fstream>

#include "formats/sim_path.h"
#include "frame/host_facts.h"
#include "gpws/gpws_elements.h"
#include "host/event_marks.h"
#include "host/host_error.h"

namespace host::envelope {
namespace {

const std::vector<Event>& events_of(const PanelHost& panel) {
  return panel.events().events();
}

// The PULL UP lamp of "test", the face the warning cycle flashes.
constexpr uint32_t kPullUpLamp = gpws::kElementWarningLamp;

}  // namespace

void place_gpws(PanelHost& panel) {
  panel.add_gauge("vrn_gpws", "test");
  panel.start();
  panel.sim().set(kTokenPower, 1.0);
  panel.sim().set(kTokenOnGround, 0.0);
}

bool played(const PanelHost& panel, size_t from, const std::string& voice) {
  const auto& events = events_of(panel);
  for (size_t i = from; i < events.size(); ++i) {
    if (voice_heard(events[i]) && voice_name(events[i].text) == voice) return true;
  }
  return false;
}

bool pull_up_lamp_lit(const PanelHost& panel, size_t from) {
  const auto& events = events_of(panel);
  for (size_t i = from; i < events.size(); ++i) {
    const Event& e = events[i];
    if (visibility_changed(e) && element_now_shown(e) && e.element == kPullUpLamp &&
        std::string_view(e.label) == "test") {
      return true;
    }
  }
  return false;
}

void require_voice(const std::string& sound_root, const std::string& voice) {
  // The GPWS's own file of that voice, as it loads it.
  const char* module_path = nullptr;
  for (const char* p : facts::kGpwsSoundPaths) {
    if (voice_name(p) == voice) module_path = p;
  }
  if (module_path == nullptr) throw HostError("the GPWS has no voice \"" + voice + "\"");
  const std::string path = formats::sim_file_path(sound_root, module_path);
  if (!std::ifstream(path, std::ios::binary)) {
    throw HostError("the sweep needs " + path + " to hear the GPWS (give --root DIR)");
  }
}

}  // namespace host::envelope
