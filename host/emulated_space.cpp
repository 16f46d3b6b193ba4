// The emulated space: records at the 32-bit layout in guest memory, code run
// by GuestMachine::call, and a service table whose slots are stubs that
// translate their guest arguments and call the same ServiceSink as the
// native table.
#include "host/emulated_space.h"

#include <string>
#include <vector>

#include "frame/records.h"
#include "host/emulated/emulated_module.h"
#include "host/emulated/guest_machine.h"
#include "host/host_error.h"
#include "host/module_crash.h"
#include "host/service_table.h"

namespace host {
namespace {

using emu::CallResult;
using emu::CallStatus;
using emu::GuestAddr;
using emu::StubCall;

std::string hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%08llx", static_cast<unsigned long long>(value));
  return text;
}

GuestAddr guest(RecordRef ref) {
  if (ref > 0xffffffffu) throw HostError("record " + hex(ref) + " is outside the 32-bit space");
  return static_cast<GuestAddr>(ref);
}

// Why an emulated call failed, as the crash message's second line says it.
std::string failure(const CallResult& result) {
  switch (result.status) {
    case CallStatus::kFault:
      return "it faulted: " + result.what;
    case CallStatus::kBudgetExceeded:
      return "it ran too long: " + result.what;
    case CallStatus::kStrayWrite:
      return "it wrote outside its memory: " + result.what;
    case CallStatus::kHeapCall:
      return "it used the heap after install: " + result.what;
    case CallStatus::kHostError:
    case CallStatus::kOk:
      break;
  }
  return "the host could not serve it: " + result.what;
}

class EmulatedFile final : public ModuleFile {
 public:
  explicit EmulatedFile(std::unique_ptr<emu::EmulatedModule> module) : module_(std::move(module)) {}
  RecordRef symbol(const char* name) const override { return module_->export_address(name); }
  uint32_t resource_handle() const override { return module_->image_base(); }
  std::vector<uint8_t> bitmap_resource(uint32_t id) const override {
    const std::span<const uint8_t> bytes = module_->bitmap_resource(id);
    return {bytes.begin(), bytes.end()};
  }
  bool carries_bitmaps() const override { return true; }

 private:
  std::unique_ptr<emu::EmulatedModule> module_;
};

// A service stub's body: the sink's answer, or the call failed when the
// host could not serve it (no exception crosses the emulator).
template <typename Body>
uint32_t serve(StubCall& call, Body&& body) {
  ServiceSink* sink = service_sink();
  if (sink == nullptr) return 0;
  try {
    body(*sink);
  } catch (const std::exception& error) {
    call.fail(CallStatus::kHostError, error.what());
  }
  return 0;
}

class EmulatedSpace final : public ModuleSpace {
 public:
  explicit EmulatedSpace(const EmulationSettings& settings)
      : ModuleSpace(layout_32()), machine_(machine_options(settings)) {}

  const char* loader_name() const override { return "emulated"; }
  std::string file_name(const std::string& module) const override { return module + ".gau"; }
  std::unique_ptr<ModuleFile> open(const std::string& path) override {
    try {
      return std::make_unique<EmulatedFile>(emu::EmulatedModule::load(machine_, path));
    } catch (const emu::EmulationError& error) {
      throw HostError("cannot load " + path + ": " + error.what());
    }
  }

  void read(RecordRef at, void* out, size_t size) const override {
    if (!machine_.read(guest(at), out, size)) throw HostError("no module memory at " + hex(at));
  }
  void write(RecordRef at, const void* data, size_t size) override {
    if (!machine_.write(guest(at), data, size)) throw HostError("no module memory at " + hex(at));
  }
  std::string read_string(RecordRef at, size_t max_length) const override {
    try {
      return machine_.read_string(guest(at), max_length);
    } catch (const emu::EmulationError& error) {
      throw HostError("a string at " + hex(at) + ": " + error.what());
    }
  }
  RecordRef allocate(size_t size, const char* what) override {
    return machine_.host_block(size, what);
  }
  RecordRef service_table() override {
    if (table_ == 0) table_ = build_service_table();
    return table_;
  }

  void call_routine(RecordRef routine) override { check(call(guest(routine), {})); }
  void call_routine_arg(RecordRef routine, uint32_t arg) override {
    check(call(guest(routine), {arg}));
  }
  void call_gauge(RecordRef callback, RecordRef header, uint32_t service, uint32_t extra) override {
    // Installing takes what a gauge keeps; killing gives it back. Between
    // the two the gauges fly, and module code must not use the heap.
    const bool flies = service != frame::kServiceInstall && service != frame::kServiceKill;
    if (service != frame::kServiceInstall) flying_ = flies;
    check(call(guest(callback), {guest(header), service, extra}));
  }
  uint32_t call_mouse(RecordRef routine, int32_t x, int32_t y, uint32_t flags) override {
    if (position_ == 0) position_ = machine_.host_block(8, "a mouse position");
    machine_.write_u32(position_, static_cast<uint32_t>(x));
    machine_.write_u32(position_ + 4, static_cast<uint32_t>(y));
    const CallResult result = call(guest(routine), {position_, flags});
    check(result);
    return result.eax;
  }
  double call_needle(RecordRef callback, RecordRef element) override {
    const CallResult result = call(guest(callback), {guest(element)});
    check(result);
    return result.st0;
  }

  uint64_t module_heap_calls() const override { return heap_calls_; }
  std::vector<CallCount> instruction_counts() const override { return counts_; }

 private:
  // A call into module code, counting the heap calls it made; once the
  // gauges fly, the first ends the call. The library's runtime starting and
  // ending (its entry point) is not the host's call.
  // A call a service makes back into module code keeps the rule of the
  // call it is in, and its heap calls and instructions are counted once, by
  // the outer call.
  CallResult call(GuestAddr function, std::initializer_list<uint32_t> args) {
    const uint64_t before = machine_.heap_calls();
    const bool outer_forbids = forbidding_;
    const bool nested = in_call_;
    forbidding_ = outer_forbids || flying_;
    in_call_ = true;
    machine_.forbid_heap_calls(forbidding_);
    CallResult result = machine_.call(function, args);
    forbidding_ = outer_forbids;
    in_call_ = nested;
    machine_.forbid_heap_calls(outer_forbids);
    if (!nested) heap_calls_ += machine_.heap_calls() - before;
    if (!nested && machine_.options().count_instructions) tally(result.instructions);
    return result;
  }

  // The instructions of a call, under the gauge and call the host marked;
  // those of a call nested in it are in its own count.
  void tally(uint64_t instructions) {
    const ModuleCall& marked = crash_state::current;
    const std::string gauge = marked.gauge != nullptr ? marked.gauge : "?";
    const std::string what = marked.service != nullptr ? marked.service : "?";
    for (CallCount& count : counts_) {
      if (count.gauge != gauge || count.call != what) continue;
      ++count.calls;
      count.instructions += instructions;
      return;
    }
    counts_.push_back({gauge, what, 1, instructions});
  }

  static emu::MachineOptions machine_options(const EmulationSettings& settings) {
    emu::MachineOptions options;
    options.instruction_budget = settings.instruction_budget;
    options.check_writes = settings.check_writes;
    options.count_instructions = settings.count_instructions;
    return options;
  }
  static void check(const CallResult& result) {
    if (result.status != CallStatus::kOk) module_call_failed(failure(result));
  }
  static const char* text_at(StubCall& call, size_t index, std::string& keep) {
    const uint32_t at = call.arg(index);
    if (at == 0) return nullptr;
    keep = call.machine().read_string(at);
    return keep.c_str();
  }

  GuestAddr element_list_stub(uint32_t slot, bool with_arg) {
    return machine_.make_stub("element-list service " + std::to_string(slot), with_arg ? 8 : 4,
                              [slot, with_arg](StubCall& call) {
                                return serve(call, [&](ServiceSink& sink) {
                                  const uint32_t arg = with_arg ? call.arg(1) : 0;
                                  sink.element_list_service(slot, call.arg(0),
                                                            with_arg ? &arg : nullptr);
                                });
                              });
  }

  GuestAddr build_service_table() {
    std::vector<GuestAddr> slots(frame::kServiceSlotCount);
    for (uint32_t slot = 0; slot < frame::kServiceSlotCount; ++slot) {
      // It cannot know how many arguments its caller pushed: it pops none.
      slots[slot] =
          machine_.make_stub("stray service " + std::to_string(slot), 0, [slot](StubCall& call) {
            return serve(call, [&](ServiceSink& sink) { sink.stray_service(slot); });
          });
    }
    for (uint32_t slot : {frame::kSlotQuery, frame::kSlotInitialize, frame::kSlotUpdate,
                          frame::kSlotDraw, frame::kSlotKill}) {
      slots[slot] = element_list_stub(slot, false);
    }
    for (uint32_t slot : {frame::kSlotInstall, frame::kSlotGenerate}) {
      slots[slot] = element_list_stub(slot, true);
    }
    slots[frame::kSlotKeyEvent] = machine_.make_stub("key event", 8, [](StubCall& call) {
      return serve(call, [&](ServiceSink& sink) { sink.key_event(call.arg(0), call.arg(1)); });
    });
    slots[frame::kSlotRegisterVariable] =
        machine_.make_stub("register variable", 12, [](StubCall& call) {
          return serve(call, [&](ServiceSink& sink) {
            std::string name;
            sink.register_variable(call.arg(0), call.arg(1), text_at(call, 2, name));
          });
        });
    slots[frame::kSlotLinkVariable] = machine_.make_stub("link variable", 8, [](StubCall& call) {
      return serve(call, [&](ServiceSink& sink) {
        std::string name;
        sink.link_variable(call.arg(0), text_at(call, 1, name));
      });
    });
    slots[frame::kSlotLookupVariable] =
        machine_.make_stub("lookup variable", 4, [](StubCall& call) {
          return serve(call, [&](ServiceSink& sink) { sink.lookup_variable(call.arg(0)); });
        });
    slots[frame::kSlotUnregisterVariable] =
        machine_.make_stub("unregister variable", 4, [](StubCall& call) {
          return serve(call, [&](ServiceSink& sink) {
            std::string name;
            sink.unregister_variable(text_at(call, 0, name));
          });
        });
    const GuestAddr table = machine_.host_block(4 * slots.size(), "the host service table");
    for (size_t i = 0; i < slots.size(); ++i) {
      machine_.write_u32(table + static_cast<GuestAddr>(4 * i), slots[i]);
    }
    return table;
  }

  mutable emu::GuestMachine machine_;
  GuestAddr table_ = 0;
  GuestAddr position_ = 0;
  uint64_t heap_calls_ = 0;
  // From the first gauge call after install (initialize, update...) until a
  // kill: the loading, init routine, install, kill and deinit may allocate.
  bool flying_ = false;
  bool forbidding_ = false;  // heap calls end the call in progress
  bool in_call_ = false;     // module code is running (a service may call back in)
  std::vector<CallCount> counts_;
};

}  // namespace

std::unique_ptr<ModuleSpace> make_emulated_space(const EmulationSettings& settings) {
  return std::make_unique<EmulatedSpace>(settings);
}

}  // namespace host

// Unicorn 2.0.1 loses a block of its own when module code writes to a page
// it has translated code from (tb_invalidate_phys_page_fast); the leak is
// the emulator's, once per page, not the host's or a module's.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libunicorn.so\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
