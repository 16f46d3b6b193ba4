#include "host/envelope/gpws_probe.h"

#include <fstream>

#include "host/audio/track_mixer.h"
#include "host/host_error.h"

namespace host::envelope {
namespace {

// The frame stamp is left off: "12 sound play ..." -> "sound play ...".
std::string_view text_of(const std::string& line) {
  const size_t space = line.find(' ');
  return space == std::string::npos ? std::string_view() : std::string_view(line).substr(space + 1);
}

const std::vector<std::string>& lines_of(const PanelHost& panel) {
  return const_cast<PanelHost&>(panel).log().lines();
}

}  // namespace

void place_gpws(PanelHost& panel) {
  panel.add_gauge("vrn_gpws", "test");
  panel.start();
  panel.sim().set(kTokenPower, 1.0);
  panel.sim().set(kTokenOnGround, 0.0);
}

bool played(const PanelHost& panel, size_t from, const std::string& voice) {
  const std::string wanted = "\"Sound\\" + voice + ".wav\"";
  const auto& lines = lines_of(panel);
  for (size_t i = from; i < lines.size(); ++i) {
    std::string_view text = text_of(lines[i]);
    // A refused play ("-> 0") is no voice heard.
    if (text.starts_with("sound play ") && text.find(wanted) != std::string_view::npos &&
        text.ends_with("-> 1")) {
      return true;
    }
  }
  return false;
}

bool pull_up_lamp_lit(const PanelHost& panel, size_t from) {
  const auto& lines = lines_of(panel);
  for (size_t i = from; i < lines.size(); ++i) {
    if (text_of(lines[i]) == "element test#1 shown") return true;
  }
  return false;
}

void require_voice(const std::string& sound_root, const std::string& voice) {
  const std::string path = audio::sound_file(sound_root, "Sound\\" + voice + ".wav");
  if (!std::ifstream(path, std::ios::binary)) {
    throw HostError("the sweep needs " + path + " to hear the GPWS (give --root DIR)");
  }
}

}  // namespace host::envelope
