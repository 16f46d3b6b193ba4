#pragma once
// Where a host's gauge modules live, seen from the host: one view of their
// records (read and written at the record layout of the memory they are in)
// and one way to call their code. The native space is the host's own memory
// and its function pointers (a .so natively, a .gau loaded by LoadLibrary in
// the Windows build); the emulated space is a 32-bit guest machine running
// the real .gau files. The panel logic is written once, over this.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/record_layout.h"

namespace host {

// One module file as its space opened it.
class ModuleFile {
 public:
  virtual ~ModuleFile() = default;
  // An exported data record ("ImportTable", "Linkage"), or 0.
  virtual RecordRef symbol(const char* name) const = 0;
  // The third argument of the install call: the module's resource handle.
  virtual uint32_t resource_handle() const = 0;
  // The DIB bytes of BITMAP resource `id` when the file carries its pictures
  // (an emulated .gau); empty otherwise, or when it has no such picture.
  virtual std::vector<uint8_t> bitmap_resource(uint32_t /*id*/) const { return {}; }
  virtual bool carries_bitmaps() const { return false; }
  // Where the file's records are (for finding what was loaded from where).
  virtual RecordRef anchor() const { return symbol("ImportTable"); }
};

class ModuleSpace {
 public:
  explicit ModuleSpace(const RecordLayout& layout) : layout_(layout) {}
  virtual ~ModuleSpace() = default;
  ModuleSpace(const ModuleSpace&) = delete;
  ModuleSpace& operator=(const ModuleSpace&) = delete;

  // "native" or "emulated", as the host says which loader it uses.
  virtual const char* loader_name() const = 0;
  // The file name of module NAME in this space: NAME.so natively, NAME.gau
  // in the Windows build and emulated.
  virtual std::string file_name(const std::string& module) const = 0;
  // Opens a module file; throws HostError with a one-line reason.
  virtual std::unique_ptr<ModuleFile> open(const std::string& path) = 0;

  // The records. Reads and writes outside the space throw HostError.
  const RecordLayout& layout() const { return layout_; }
  virtual void read(RecordRef at, void* out, size_t size) const = 0;
  virtual void write(RecordRef at, const void* data, size_t size) = 0;
  // A C string (at most `max_length` characters).
  virtual std::string read_string(RecordRef at, size_t max_length = 4096) const = 0;
  // A zeroed block of records the host owns and module code may read and
  // write (own copies, host-owned named variables); lives as long as the space.
  virtual RecordRef allocate(size_t size, const char* what) = 0;
  // The host service table to write into each module's ImportTable.
  virtual RecordRef service_table() = 0;

  uint32_t u32(RecordRef at) const {
    uint32_t v = 0;
    read(at, &v, sizeof v);
    return v;
  }
  int32_t i32(RecordRef at) const { return static_cast<int32_t>(u32(at)); }
  double f64(RecordRef at) const {
    double v = 0;
    read(at, &v, sizeof v);
    return v;
  }
  void write_u32(RecordRef at, uint32_t v) { write(at, &v, sizeof v); }
  // A pointer field, as wide as the layout's pointers.
  RecordRef ref(RecordRef at) const {
    if (layout_.pointer_size == 4) return u32(at);
    uint64_t v = 0;
    read(at, &v, sizeof v);
    return v;
  }
  void write_ref(RecordRef at, RecordRef value) {
    if (layout_.pointer_size == 4) {
      write_u32(at, static_cast<uint32_t>(value));
    } else {
      write(at, &value, sizeof value);
    }
  }

  // Module code. The host marks the call (module_crash.h) before it makes it;
  // a call the space sees fail (an emulated fault, a run past the budget, a
  // stray write) ends through module_call_failed().
  virtual void call_routine(RecordRef routine) = 0;  // init, deinit, element-list routines
  virtual void call_routine_arg(RecordRef routine, uint32_t arg) = 0;
  virtual void call_gauge(RecordRef callback, RecordRef header, uint32_t service,
                          uint32_t extra) = 0;
  // A mouse routine with a position record {x, y} and the mouse flags.
  virtual uint32_t call_mouse(RecordRef routine, int32_t x, int32_t y, uint32_t flags) = 0;
  virtual double call_needle(RecordRef callback, RecordRef element) = 0;

  // Heap calls module code made in the host's calls into it, where the space
  // counts them (emulated: at its runtime's heap functions; the runtime's own
  // start and end in the library's entry point are not counted); 0 where it
  // does not.
  virtual uint64_t module_heap_calls() const { return 0; }

  // Instructions module code executed in the host's calls into it, by the
  // gauge (or module) and the call the host marked (module_crash.h), where
  // the space counts them (emulated with EmulationSettings::count_instructions);
  // empty where it does not. In the order first seen.
  struct CallCount {
    std::string gauge;
    std::string call;  // "update", "a needle callback", ...
    uint64_t calls = 0;
    uint64_t instructions = 0;
  };
  virtual std::vector<CallCount> instruction_counts() const { return {}; }

 private:
  const RecordLayout& layout_;
};

// The host's own memory and function pointers.
std::unique_ptr<ModuleSpace> make_native_space();
// The host's own memory for records made in the host (tests, the renderer's
// crafted gauges): one space for the whole process.
ModuleSpace& native_records();

template <typename T>
RecordRef ref_of(T* record) {
  return static_cast<RecordRef>(reinterpret_cast<uintptr_t>(record));
}

}  // namespace host
