#pragma once
// The alert the GPWS gives at a frame, as the side view colours the
// aircraft's trail (the report's and the live page's): none, a caution
// voice, the PULL UP warning lamp, or terrain. One table names and colours
// them; one reader of the typed events decides which one holds.
//
// What gives which alert, and how long it holds after its sign:
// - a terrain voice ("terrain", "terrain, terrain"): terrain, for a second
//   after it starts (the warning cycle repeats it every second);
// - the PULL UP lamp of the GPWS's `test` gauge shown, or the pull-up voice:
//   the warning lamp, while the lamp is lit and for kLampDarkHoldSeconds after
//   it goes dark (the cycle's dark half is 9 ticks, half a second), so a
//   flashing lamp colours its whole cycle; the voice for a second;
// - any other GPWS voice (sink rate, don't sink, glideslope, minimums, too
//   low gear/flaps): a caution, for a second after it starts, and a looping
//   voice (the sink rate) on until the GPWS stops it;
// - the switch click and other modules' sounds: no alert.
// Where several hold at once the highest of terrain, warning, caution wins.
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>

#include "host/event.h"
#include "host/event_stream.h"

namespace host::report {

enum class GpwsAlert : uint8_t { kNone, kCaution, kWarning, kTerrain };

struct GpwsAlertRow {
  GpwsAlert alert;
  const char* name;    // as the side view's legend names it
  const char* colour;  // the trail's colour there, on both pages
};

inline constexpr GpwsAlertRow kGpwsAlerts[] = {
    {GpwsAlert::kNone, "no alert", "#74c0fc"},
    {GpwsAlert::kCaution, "caution voice", "#fcc419"},
    {GpwsAlert::kWarning, "warning lamp", "#ff4d4f"},
    {GpwsAlert::kTerrain, "terrain", "#d05ce3"},
};
constexpr bool gpws_alerts_in_order() {
  for (size_t i = 0; i < std::size(kGpwsAlerts); ++i) {
    if (static_cast<size_t>(kGpwsAlerts[i].alert) != i) return false;
  }
  return std::size(kGpwsAlerts) == static_cast<size_t>(GpwsAlert::kTerrain) + 1;
}
static_assert(gpws_alerts_in_order(), "one row per alert, in the enum's order");

inline const GpwsAlertRow& alert_row(GpwsAlert alert) {
  return kGpwsAlerts[static_cast<size_t>(alert)];
}

// How long a voice colours the trail after it starts, and the lamp after it
// goes dark.
inline constexpr double kVoiceHoldSeconds = 1.0;
inline constexpr double kLampDarkHoldSeconds = 0.6;

// The GPWS voices that are no caution, by their file's name (voice_name):
// every other GPWS voice is one.
struct VoiceAlertRow {
  const char* voice;
  GpwsAlert alert;
};
inline constexpr VoiceAlertRow kVoiceAlerts[] = {
    {"terrain1", GpwsAlert::kTerrain},
    {"terrain2", GpwsAlert::kTerrain},
    {"pullup", GpwsAlert::kWarning},
    {"360tinytog", GpwsAlert::kNone},  // the switch click
};

// What an event says, if anything: a GPWS voice started (with its alert and
// whether it loops), a sound stopped, the PULL UP lamp shown or hidden.
struct AlertSign {
  enum Kind : uint8_t { kVoice, kStop, kLamp } kind = kVoice;
  GpwsAlert alert = GpwsAlert::kNone;
  uint32_t handle = 0;  // the voice's
  bool loops = false;
  bool lit = false;  // the lamp's
};
std::optional<AlertSign> alert_sign(const Event& event);

// Follows a flight's events (a subscriber of its stream) and says which
// alert holds at a frame, asked for frames in order, each once its events
// have been published (after the frame).
class GpwsAlerts final : public EventSubscriber {
 public:
  GpwsAlerts(EventStream& events, double frames_per_second);
  ~GpwsAlerts() override;
  GpwsAlerts(const GpwsAlerts&) = delete;
  GpwsAlerts& operator=(const GpwsAlerts&) = delete;

  void on_event(const Event& event) override;
  GpwsAlert at(uint32_t frame) const;

 private:
  EventStream& events_;
  uint32_t voice_hold_frames_;
  uint32_t lamp_hold_frames_;
  // The last frame each alert's voice colours, once one was heard.
  std::map<GpwsAlert, uint32_t> voice_until_;
  std::map<uint32_t, GpwsAlert> looping_;  // voices that loop, by handle, until stopped
  bool lamp_lit_ = false;
  std::optional<uint32_t> lamp_dark_from_;  // the frame it last went dark
};

}  // namespace host::report
