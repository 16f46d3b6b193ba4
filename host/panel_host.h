#pragma once
// The layer in place of the simulator's panel system: loads gauge modules,
// drives their gauges through install, initialize, update and kill, serves
// their host services and publishes everything they do as typed events.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "frame/records.h"
#include "host/aircraft/aircraft.h"
#include "host/event_log.h"
#include "host/event_stream.h"
#include "host/fssound/fssound_host.h"
#include "host/gauge_instance.h"
#include "host/loaded_module.h"
#include "host/module_loader.h"
#include "host/named_variables.h"
#include "host/service_table.h"
#include "host/sim_variables.h"

namespace host {

// Instrumentation for tests that watch module code itself (e.g. count what
// it allocates): when set, called with +1 as the host hands control to
// module code and -1 when it gets it back, and with -1 / +1 around each
// host service and sound library call that module code makes, so that the
// sum of the deltas is above zero exactly while module code runs.
using ModuleCallHook = void (*)(int delta);
inline ModuleCallHook module_call_hook = nullptr;

struct HostOptions {
  std::string modules_dir;  // where NAME.gau (NAME.so natively) files are
  std::string sound_root;   // the folder that holds "Sound"
  // Where the event log writes its lines (null: no text log).
  std::ostream* echo = nullptr;
  // Whether every event is kept for reading after the flight (summary,
  // expectations, audio, report, tests). A host with neither a text log,
  // nor captured events, nor a subscriber publishes nothing.
  bool capture_events = true;
  // Whether each placed gauge gets the host's own copy of its header and
  // element chain (as a host that places a gauge twice may) instead of the
  // module's records.
  bool own_copies = false;
  // Whether a fault in module code ends the program with a message naming
  // the gauge (see module_crash.h); a fuzzer leaves faults to itself.
  bool guard_module_faults = true;
  // "native", "emulated", or empty to pick by the files in modules_dir
  // (see module_loader.h).
  std::string loader = {};
  EmulationSettings emulation = {};  // for the emulated loader
};

class PanelHost final : public ServiceSink {
 public:
  // One host at a time serves the service table and the sound library.
  explicit PanelHost(HostOptions options);
  ~PanelHost() override;
  PanelHost(const PanelHost&) = delete;
  PanelHost& operator=(const PanelHost&) = delete;

  // Loads a module once, hands it the service table and runs its init routine.
  LoadedModule& load_module(const std::string& module);
  // Places a gauge of a module (loaded on demand); returns its label.
  std::string add_gauge(const std::string& module, const std::string& gauge);

  // Installs every gauge, then initializes every gauge, in panel order.
  void start();
  void run_frame();
  void run_frames(uint32_t count);
  // Called at the end of every frame with its number, e.g. to take pictures;
  // several watchers (pictures, a report) may follow one flight, in the
  // order they were added. set_ replaces them all with one.
  void add_frame_observer(std::function<void(uint32_t frame)> observer) {
    frame_observers_.push_back(std::move(observer));
  }
  void set_frame_observer(std::function<void(uint32_t frame)> observer) {
    frame_observers_.clear();
    add_frame_observer(std::move(observer));
  }
  // A left click at a pixel of a gauge: the first child area that holds it.
  // Returns the area's number (1 = first in the list), 0 when none holds it.
  size_t click(const std::string& label, int32_t x, int32_t y);
  // A left click in the middle of child area `area` (1 = first).
  void click_area(const std::string& label, size_t area);
  // Whether the area asks to be called again while the button is held.
  bool area_repeats(const std::string& label, size_t area) const;
  // Kills every gauge, runs each module's deinit routine and unloads it.
  void stop();

  // Calls a gauge's callback with any service code, as a host may.
  void send(const std::string& label, uint32_t service);
  // Calls one of the element-list routines in a gauge's header.
  void call_element_list_routine(const std::string& label, frame::ElementListSlot which,
                                 uint32_t arg = 0);

  // The host clock (token 1): advanced by `ticks` on every frame (1 by
  // default; a slow host skips ticks, a fast one repeats them), or set for
  // the next frame to any value, also back in time.
  void set_ticks_per_frame(double ticks) { ticks_per_frame_ = ticks; }
  void set_clock(double ticks) { next_clock_ = ticks; }
  double clock() const { return clock_ticks_; }

  SimVariables& sim() { return sim_; }
  // The aircraft a flight flies in the simulator's place, airframe and all:
  // null until one is started; a new one replaces it.
  aircraft::Aircraft* aircraft() { return aircraft_ ? &*aircraft_ : nullptr; }
  const aircraft::Aircraft* aircraft() const { return aircraft_ ? &*aircraft_ : nullptr; }
  void start_aircraft(aircraft::Aircraft a) { aircraft_ = std::move(a); }
  NamedVariables& named() { return named_; }
  int32_t named_read(const std::string& name) const { return named_.read(name); }
  EventStream& events() { return events_; }
  const EventStream& events() const { return events_; }
  bool started() const { return started_; }
  // Where this host's modules live, and which loader put them there.
  ModuleSpace& space() { return *space_; }
  const char* loader_name() const { return space_->loader_name(); }
  // Heap calls module code made, where the space counts them (see ModuleSpace).
  uint64_t module_heap_calls() const { return space_->module_heap_calls(); }
  uint32_t frame() const { return frame_; }

  const GaugeInstance& gauge(const std::string& label) const;
  uint32_t element_flags(const std::string& label, size_t index) const;
  bool element_hidden(const std::string& label, size_t index) const;

  // ServiceSink
  void element_list_service(uint32_t slot, RecordRef first, const uint32_t* arg) override;
  void key_event(uint32_t event_id, uint32_t value) override;
  void register_variable(RecordRef storage, uint32_t type_code, const char* name) override;
  void link_variable(RecordRef var, const char* name) override;
  void lookup_variable(RecordRef var) override;
  void unregister_variable(const char* name) override;
  void stray_service(uint32_t slot) override;

 private:
  GaugeInstance& find(const std::string& label);
  void press(GaugeInstance& gauge, size_t index, int32_t x, int32_t y);
  void call_gauge(GaugeInstance& gauge, uint32_t service, uint32_t extra);
  void update_needles(GaugeInstance& gauge);
  // Publishes what `module`'s code changed: its element flags and the named
  // variables. Nobody reads a stream that is not active, so then nothing is
  // looked for (see stream_active_changed).
  void observe(const LoadedModule* module) {
    if (events_.active()) observe_changes(module);
  }
  void observe_changes(const LoadedModule* module);
  // Quiets the sound library's reports with the stream and, when it is read
  // again, forgets what changed while it was not.
  static void stream_active_changed(void* host, bool active);
  static void GAUGE_CALL sound_call(void* host, const FSSoundCall* call);
  const char* sound_path_text(const FSSoundCall& call);
  // The element the host passes, as events name it: its gauge's label and
  // index, or no label and the text "null" or "?".
  void name_element(Event& event, RecordRef element);

  HostOptions options_;
  // Where the modules live; outlives everything that refers to their records.
  std::unique_ptr<ModuleSpace> space_;
  EventStream events_;
  std::unique_ptr<EventLog> text_log_;
  SimVariables sim_;
  std::optional<aircraft::Aircraft> aircraft_;
  NamedVariables named_;
  std::vector<std::unique_ptr<LoadedModule>> modules_;
  std::vector<GaugeInstance> gauges_;
  ElementWatch element_watch_;
  bool started_ = false;
  uint32_t frame_ = 0;
  double clock_ticks_ = 0.0;
  double ticks_per_frame_ = 1.0;
  std::optional<double> next_clock_;
  std::vector<std::function<void(uint32_t frame)>> frame_observers_;
  struct SoundPath {
    uint32_t handle;
    const char* library_path;  // where the library keeps it
    const char* text;          // interned
  };
  std::vector<SoundPath> sound_paths_;
};

}  // namespace host
