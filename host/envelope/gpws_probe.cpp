#include "host/envelope/gpws_probe.h"

#include <fstream>

#include "formats/sim_path.h"
#include "host/host_error.h"

namespace host::envelope {
namespace {

const std::vector<Event>& events_of(const PanelHost& panel) {
  return panel.events().events();
}

// Element 1 of "test": the PULL UP lamp the warning cycle flashes.
constexpr uint32_t kPullUpLamp = 1;

}  // namespace

void place_gpws(PanelHost& panel) {
  panel.add_gauge("vrn_gpws", "test");
  panel.start();
  panel.sim().set(kTokenPower, 1.0);
  panel.sim().set(kTokenOnGround, 0.0);
}

bool played(const PanelHost& panel, size_t from, const std::string& voice) {
  const std::string wanted = "Sound\\" + voice + ".wav";
  const auto& events = events_of(panel);
  for (size_t i = from; i < events.size(); ++i) {
    if (voice_heard(events[i]) && wanted == events[i].text) return true;
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
  const std::string path = formats::sim_file_path(sound_root, "Sound\\" + voice + ".wav");
  if (!std::ifstream(path, std::ios::binary)) {
    throw HostError("the sweep needs " + path + " to hear the GPWS (give --root DIR)");
  }
}

}  // namespace host::envelope
