#include "host/report/gpws_alert.h"

#include <algorithm>
#include <string_view>

#include "frame/host_facts.h"
#include "host/element_names.h"
#include "host/event_marks.h"
#include "host/flight_run.h"

namespace host::report {
namespace {

constexpr std::string_view kGpwsModule = "vrn_gpws";
// The PULL UP lamp: the face of the `test` gauge the warning cycle flashes.
constexpr std::string_view kLampGauge = "test";
constexpr std::string_view kLampName = "warning_lamp";

bool is_gpws_voice(const char* path) {
  return std::ranges::any_of(facts::kGpwsSoundPaths,
                             [&](const char* p) { return std::string_view(p) == path; });
}

GpwsAlert voice_alert(std::string_view path) {
  const std::string name = voice_name(path);
  for (const VoiceAlertRow& row : kVoiceAlerts) {
    if (name == row.voice) return row.alert;
  }
  return GpwsAlert::kCaution;
}

bool is_pull_up_lamp(const Event& e) {
  if (e.label == nullptr || e.text == nullptr || e.text != kGpwsModule) return false;
  const std::string_view gauge = gauge_of_label(e.label);
  if (gauge != kLampGauge) return false;
  static const std::optional<size_t> lamp = element_number(kGpwsModule, kLampGauge, kLampName);
  return lamp && e.element == *lamp;
}

}  // namespace

std::optional<AlertSign> alert_sign(const Event& e) {
  if (voice_heard(e) && is_gpws_voice(e.text)) {
    return AlertSign{AlertSign::kVoice, voice_alert(e.text), e.code, e.arg != 0, false};
  }
  if (e.kind == EventKind::kSoundStop) return AlertSign{AlertSign::kStop, GpwsAlert::kNone, e.code};
  if (visibility_changed(e) && is_pull_up_lamp(e)) {
    return AlertSign{AlertSign::kLamp, GpwsAlert::kWarning, 0, false, element_now_shown(e)};
  }
  return std::nullopt;
}

GpwsAlerts::GpwsAlerts(EventStream& events, double frames_per_second)
    : events_(events),
      voice_hold_frames_(frames_in(kVoiceHoldSeconds, frames_per_second)),
      lamp_hold_frames_(frames_in(kLampDarkHoldSeconds, frames_per_second)) {
  events_.subscribe(this);
}

GpwsAlerts::~GpwsAlerts() {
  events_.unsubscribe(this);
}

void GpwsAlerts::on_event(const Event& event) {
  const std::optional<AlertSign> sign = alert_sign(event);
  if (!sign) return;
  switch (sign->kind) {
    case AlertSign::kVoice:
      if (sign->alert == GpwsAlert::kNone) return;
      voice_until_[sign->alert] = event.frame + voice_hold_frames_;
      if (sign->loops) looping_[sign->handle] = sign->alert;
      return;
    case AlertSign::kStop:
      looping_.erase(sign->handle);
      return;
    case AlertSign::kLamp:
      if (!sign->lit && lamp_lit_) lamp_dark_from_ = event.frame;
      lamp_lit_ = sign->lit;
      return;
  }
}

GpwsAlert GpwsAlerts::at(uint32_t frame) const {
  GpwsAlert best = GpwsAlert::kNone;
  const auto raise = [&](GpwsAlert a) { best = std::max(best, a); };
  for (const auto& [alert, until] : voice_until_) {
    if (frame <= until) raise(alert);
  }
  for (const auto& [handle, alert] : looping_) raise(alert);
  if (lamp_lit_ || (lamp_dark_from_ && frame <= *lamp_dark_from_ + lamp_hold_frames_)) {
    raise(GpwsAlert::kWarning);
  }
  return best;
}

}  // namespace host::report
