#include "host/panel_host.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "fssound/fssound_host.h"
#include "host/event_text.h"
#include "host/host_error.h"
#include "host/module_crash.h"
#include "host/module_loader.h"
#include "host/module_scope.h"

namespace host {
namespace {

PanelHost* active_host = nullptr;

void GAUGE_CALL sound_library_call(int entering) {
  if (module_call_hook != nullptr) module_call_hook(entering != 0 ? -1 : +1);
  if (entering != 0) {
    pause_module();
  } else {
    resume_module();
  }
}

// What a crash message says the gauge was doing.
const char* gauge_call_name(uint32_t service) {
  const char* name = service_name(service);
  return name != nullptr ? name : "a gauge callback";
}

}  // namespace

PanelHost::PanelHost(HostOptions options) : options_(std::move(options)) {
  if (active_host != nullptr) throw HostError("only one panel host can run at a time");
  space_ = make_module_space(options_.modules_dir, options_.loader, options_.emulation);
  active_host = this;
  named_.attach(*space_);
  events_.set_capture(options_.capture_events);
  if (options_.echo != nullptr) {
    text_log_ = std::make_unique<EventLog>(*options_.echo);
    events_.subscribe(text_log_.get());
  }
  events_.set_active_hook(&PanelHost::stream_active_changed, this);
  if (options_.guard_module_faults) {
    guard_module_calls(options_.echo);
  } else {
    unguard_module_calls();
  }
  set_service_sink(this);
  FSSound_HostAttach(options_.sound_root.c_str(), &PanelHost::sound_call, this);
  FSSound_HostReport(events_.active() ? 1 : 0);
  FSSound_HostCallHook(&sound_library_call);
}

PanelHost::~PanelHost() {
  if (started_) stop();
  gauges_.clear();
  modules_.clear();
  FSSound_HostAttach("", nullptr, nullptr);
  FSSound_HostCallHook(nullptr);
  set_service_sink(nullptr);
  unguard_module_calls();
  active_host = nullptr;
}

LoadedModule& PanelHost::load_module(const std::string& module) {
  for (auto& loaded : modules_) {
    if (loaded->name() == module) return *loaded;
  }
  const std::string file = space_->file_name(module);
  std::string path = options_.modules_dir.empty() ? file : options_.modules_dir + "/" + file;
  auto loaded = std::make_unique<LoadedModule>(module, path, *space_);
  space_->write_ref(loaded->import_table() + space_->layout().import_services,
                    space_->service_table());
  if (events_.active()) {
    events_.publish(EventKind::kModuleLoaded, [&](Event& e) { e.text = events_.intern(module); });
  }
  if (loaded->init_routine() != 0) {
    InModule in_module(events_.intern(module), "its init routine", frame_);
    space_->call_routine(loaded->init_routine());
  }
  observe(loaded.get());
  modules_.push_back(std::move(loaded));
  return *modules_.back();
}

std::string PanelHost::add_gauge(const std::string& module, const std::string& gauge_name) {
  if (started_)
    throw HostError("gauge " + gauge_name + ": gauges are placed before the flight starts");
  LoadedModule& loaded = load_module(module);
  const RecordRef header = loaded.find_gauge(gauge_name);
  if (header == 0) {
    std::string known;
    for (const LoadedModule::Gauge& g : loaded.gauges())
      known += std::string(known.empty() ? "" : ", ") + g.name;
    throw HostError("module " + module + " has no gauge \"" + gauge_name + "\" (it has: " + known +
                    ")");
  }
  std::string label = gauge_name;
  for (int n = 2; std::any_of(gauges_.begin(), gauges_.end(),
                              [&](const GaugeInstance& g) { return g.label == label; });
       ++n) {
    label = gauge_name + "@" + std::to_string(n);
  }
  gauges_.push_back(make_gauge_instance(label, &loaded, header, options_.own_copies));
  gauges_.back().event_label = events_.intern(label);
  gauges_.back().event_module = events_.intern(loaded.name());
  element_watch_.add(gauges_.back(), static_cast<uint32_t>(gauges_.size() - 1));
  return label;
}

void PanelHost::start() {
  if (started_) return;
  started_ = true;
  for (GaugeInstance& gauge : gauges_) {
    call_gauge(gauge, frame::kServiceInstall, gauge.module->resource_handle());
  }
  for (GaugeInstance& gauge : gauges_) call_gauge(gauge, frame::kServiceInitialize, 0);
}

void PanelHost::run_frame() {
  if (!started_) throw HostError("the flight has not started");
  ++frame_;
  events_.set_frame(frame_);
  clock_ticks_ = next_clock_.value_or(clock_ticks_ + ticks_per_frame_);
  next_clock_.reset();
  sim_.set(kTokenTicks, std::floor(clock_ticks_));
  for (GaugeInstance& gauge : gauges_) {
    call_gauge(gauge, frame::kServiceUpdate, 0);
    if (!gauge.needles.empty()) update_needles(gauge);
  }
  for (const auto& observer : frame_observers_) observer(frame_);
}

void PanelHost::run_frames(uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) run_frame();
}

size_t PanelHost::click(const std::string& label, int32_t x, int32_t y) {
  if (!started_) throw HostError("the flight has not started");
  GaugeInstance& gauge = find(label);
  for (size_t i = 0; i < gauge.areas.size(); ++i) {
    if (!gauge.areas[i].contains(x, y)) continue;
    press(gauge, i, x, y);
    return i + 1;
  }
  if (events_.active()) {
    events_.publish(EventKind::kClick, [&](Event& e) {
      e.label = gauge.event_label;
      e.x = x;
      e.y = y;
    });
  }
  return 0;
}

void PanelHost::click_area(const std::string& label, size_t area) {
  if (!started_) throw HostError("the flight has not started");
  GaugeInstance& gauge = find(label);
  if (area == 0 || area > gauge.areas.size()) {
    throw HostError("gauge " + label + " has no click area " + std::to_string(area) + " (it has " +
                    std::to_string(gauge.areas.size()) + ")");
  }
  const MouseArea& a = gauge.areas[area - 1];
  press(gauge, area - 1, a.x + a.width / 2, a.y + a.height / 2);
}

bool PanelHost::area_repeats(const std::string& label, size_t area) const {
  const GaugeInstance& g = gauge(label);
  return area >= 1 && area <= g.areas.size() &&
         (g.areas[area - 1].mouse_flags & frame::kMouseRepeatWhileHeld) != 0;
}

void PanelHost::press(GaugeInstance& gauge, size_t index, int32_t x, int32_t y) {
  const MouseArea& area = gauge.areas[index];
  if (events_.active()) {
    events_.publish(EventKind::kClick, [&](Event& e) {
      e.label = gauge.event_label;
      e.x = x;
      e.y = y;
      e.element = static_cast<uint32_t>(index + 1);
    });
  }
  if (area.routine != 0) {
    InModule in_module(gauge.event_label, "a mouse routine", frame_);
    space_->call_mouse(area.routine, x, y, frame::kMouseLeftSingle);
  }
  observe(gauge.module);
}

void PanelHost::stop() {
  if (started_) {
    for (GaugeInstance& gauge : gauges_) call_gauge(gauge, frame::kServiceKill, 0);
    started_ = false;
  }
  for (auto& module : modules_) {
    if (module->deinit_routine() != 0) {
      InModule in_module(events_.intern(module->name()), "its deinit routine", frame_);
      space_->call_routine(module->deinit_routine());
    }
    observe(module.get());
    if (events_.active()) {
      events_.publish(EventKind::kModuleUnloaded,
                      [&](Event& e) { e.text = events_.intern(module->name()); });
    }
  }
  gauges_.clear();
  element_watch_.clear();
  modules_.clear();
}

void PanelHost::send(const std::string& label, uint32_t service) {
  call_gauge(find(label), service, 0);
}

void PanelHost::call_element_list_routine(const std::string& label, frame::ElementListSlot which,
                                          uint32_t arg) {
  GaugeInstance& gauge = find(label);
  {
    InModule in_module(gauge.event_label, "an element-list routine", frame_);
    run_element_list_routine(*space_, gauge.header, which, arg);
  }
  observe(gauge.module);
}

const GaugeInstance& PanelHost::gauge(const std::string& label) const {
  return const_cast<PanelHost*>(this)->find(label);
}

uint32_t PanelHost::element_flags(const std::string& label, size_t index) const {
  const GaugeInstance& g = gauge(label);
  if (index >= g.elements.size())
    throw HostError("gauge " + label + " has no element " + std::to_string(index));
  return g.flags(index);
}

bool PanelHost::element_hidden(const std::string& label, size_t index) const {
  return (element_flags(label, index) & frame::kImageHidden) != 0;
}

GaugeInstance& PanelHost::find(const std::string& label) {
  for (GaugeInstance& gauge : gauges_) {
    if (gauge.label == label) return gauge;
  }
  throw HostError("no gauge \"" + label + "\" on the panel");
}

void PanelHost::call_gauge(GaugeInstance& gauge, uint32_t service, uint32_t extra) {
  // Updates, every frame, are not logged as such.
  if (service != frame::kServiceUpdate && events_.active()) {
    events_.publish(EventKind::kGaugeService, [&](Event& e) {
      e.label = gauge.event_label;
      e.code = service;
    });
  }
  const RecordRef callback = space_->ref(gauge.header + space_->layout().gauge_callback);
  if (callback != 0) {
    InModule in_module(gauge.event_label, gauge_call_name(service), frame_);
    space_->call_gauge(callback, gauge.header, service, extra);
  }
  observe(gauge.module);
}

// After the update: refresh each needle's source and ask its value callback,
// in chain order, hidden or not.
void PanelHost::update_needles(GaugeInstance& gauge) {
  const RecordLayout& l = space_->layout();
  for (size_t i : gauge.needles) {
    ElementState& state = gauge.elements[i];
    const RecordRef source = state.record + l.needle_source;
    if (space_->u32(source) != 0) sim_.write_value(*space_, source);
    const RecordRef callback = space_->ref(state.record + l.needle_callback);
    if (callback == 0) continue;
    double value = 0.0;
    {
      InModule in_module(gauge.event_label, "a needle callback", frame_);
      value = space_->call_needle(callback, state.record);
    }
    // Bit for bit, so that a NaN or a change of sign of zero is seen too.
    if (!state.needle_seen ||
        std::bit_cast<uint64_t>(value) != std::bit_cast<uint64_t>(state.last_value)) {
      state.needle_seen = true;
      state.last_value = value;
      if (events_.active()) {
        events_.publish(EventKind::kNeedleValue, [&](Event& e) {
          e.label = gauge.event_label;
          e.text = gauge.event_module;
          e.element = static_cast<uint32_t>(i);
          e.value = value;
        });
      }
    }
  }
  observe(gauge.module);
}

void PanelHost::observe_changes(const LoadedModule* module) {
  element_watch_.take_changes(module,
                              [this](uint32_t g, uint32_t i, uint32_t before, uint32_t now) {
                                events_.publish(EventKind::kElementFlags, [&](Event& e) {
                                  e.label = gauges_[g].event_label;
                                  e.text = gauges_[g].event_module;
                                  e.element = i;
                                  e.arg = before;
                                  e.result = now;
                                });
                              });
  named_.take_changes([this](const std::string& name, int32_t value) {
    events_.publish(EventKind::kNamedWrite, [&](Event& e) {
      e.text = events_.intern(name);
      e.x = value;
    });
  });
}

}  // namespace host
