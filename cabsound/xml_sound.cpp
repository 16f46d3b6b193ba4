#include "cabsound/xml_sound.h"

#include <array>
#include <cstddef>

#include "frame/convert.h"
#include "frame/host_facts.h"
#include "frame/host_services.h"
#include "frame/module_var.h"
#include "frame/sound_slot.h"

namespace cabsound {
namespace {

using frame::ModuleVar;
using frame::SoundSlot;

struct Channel {
  uint32_t trigger_token;
  const char* wav_path;
  uint32_t key_event;
};

constexpr Channel kChannels[] = {
    {facts::token::kSound1, facts::kCabsoundSoundPaths[0], facts::kKeyCabinSound1},
    {facts::token::kSound2, facts::kCabsoundSoundPaths[1], facts::kKeyCabinSound2},
    {facts::token::kSound3, facts::kCabsoundSoundPaths[2], facts::kKeyCabinSound3},
    {facts::token::kSound4, facts::kCabsoundSoundPaths[3], facts::kKeyCabinSound4},
};
constexpr size_t kChannelCount = 4;
static_assert(std::size(kChannels) == kChannelCount);
static_assert(std::size(facts::kCabsoundSoundPaths) == kChannelCount);

// The module's one state record: a trigger variable and a sound slot per channel.
struct CabsoundState {
  ModuleVar trigger[kChannelCount];
  SoundSlot slot[kChannelCount];
};

constexpr CabsoundState initial_state() {
  CabsoundState s{};
  for (size_t i = 0; i < kChannelCount; ++i) {
    s.trigger[i].token = kChannels[i].trigger_token;
    s.slot[i].path = kChannels[i].wav_path;
  }
  return s;
}

constinit CabsoundState state = initial_state();

using ChannelLevels = std::array<int32_t, kChannelCount>;

void install() {
  for (SoundSlot& slot : state.slot) frame::sound_load(slot);
}

void kill() {
  for (SoundSlot& slot : state.slot) frame::sound_unload(slot);
}

// Step 1: every trigger is read before anything is played or sent.
ChannelLevels read_triggers() {
  ChannelLevels level{};
  for (size_t i = 0; i < kChannelCount; ++i) {
    level[i] = frame::trunc_to_i32(frame::lookup_f64(state.trigger[i]));
  }
  return level;
}

// Step 2: each triggered channel plays its sound, then sends its key event
// whether or not the sound played.
void sound_triggered_channels(const ChannelLevels& level) {
  for (size_t i = 0; i < kChannelCount; ++i) {
    if (level[i] == 0) continue;
    frame::play_with_reload(state.slot[i], frame::kPlayOnce);
    frame::host_key_event(kChannels[i].key_event, 0);
  }
}

void update() {
  sound_triggered_channels(read_triggers());
}

}  // namespace

void GAUGE_CALL xml_sound_callback(frame::GaugeHeader* /*gauge*/, uint32_t service,
                                   uint32_t /*extra*/) {
  switch (service) {
    case frame::kServiceInstall:
      install();
      break;
    case frame::kServiceUpdate:
      update();
      break;
    case frame::kServiceKill:
      kill();
      break;
    default:
      break;
  }
}

// The gauge's one click area answers clicks and does nothing with them.
uint32_t GAUGE_CALL xml_sound_click(void* /*position*/, uint32_t /*flags*/) {
  return 0;
}

}  // namespace cabsound
