// Modules in the host's own memory: records are read where their pointers
// point, code is called through its function pointers.
#include <cstring>
#include <memory>
#include <vector>

#include "frame/records.h"
#include "host/host_error.h"
#include "host/module_library.h"
#include "host/module_space.h"
#include "host/service_table.h"

namespace host {
namespace {

// Below this no record lives: a null (or nearly null) reference is a
// malformed record, not something to dereference.
constexpr RecordRef kLowestRecord = 4096;

template <typename T>
T* pointer(RecordRef ref) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(ref));
}

template <typename Fn>
Fn function(RecordRef ref) {
  return reinterpret_cast<Fn>(static_cast<uintptr_t>(ref));
}

class NativeFile final : public ModuleFile {
 public:
  explicit NativeFile(std::unique_ptr<ModuleLibrary> library) : library_(std::move(library)) {}
  RecordRef symbol(const char* name) const override { return ref_of(library_->data_symbol(name)); }
  uint32_t resource_handle() const override { return library_->resource_handle(); }

 private:
  std::unique_ptr<ModuleLibrary> library_;
};

class NativeSpace final : public ModuleSpace {
 public:
  NativeSpace() : ModuleSpace(native_layout()) {}

  const char* loader_name() const override { return "native"; }
  std::string file_name(const std::string& module) const override {
    return module_file_name(module);
  }
  std::unique_ptr<ModuleFile> open(const std::string& path) override {
    std::string error;
    auto library = ModuleLibrary::open(path, error);
    if (!library) throw HostError(error);
    return std::make_unique<NativeFile>(std::move(library));
  }

  void read(RecordRef at, void* out, size_t size) const override {
    check(at);
    std::memcpy(out, pointer<const void>(at), size);
  }
  void write(RecordRef at, const void* data, size_t size) override {
    check(at);
    std::memcpy(pointer<void>(at), data, size);
  }
  std::string read_string(RecordRef at, size_t max_length) const override {
    check(at);
    const char* text = pointer<const char>(at);
    return std::string(text, strnlen(text, max_length));
  }
  RecordRef allocate(size_t size, const char*) override {
    // max_align_t units: any record fits its alignment.
    const size_t units = (size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    blocks_.push_back(std::make_unique<std::max_align_t[]>(units == 0 ? 1 : units));
    return ref_of(blocks_.back().get());
  }
  RecordRef service_table() override { return ref_of(host::service_table()); }

  void call_routine(RecordRef routine) override { function<frame::ModuleRoutine>(routine)(); }
  void call_routine_arg(RecordRef routine, uint32_t arg) override {
    function<frame::ElementListRoutineArg>(routine)(arg);
  }
  void call_gauge(RecordRef callback, RecordRef header, uint32_t service, uint32_t extra) override {
    function<frame::GaugeCallback>(callback)(pointer<frame::GaugeHeader>(header), service, extra);
  }
  uint32_t call_mouse(RecordRef routine, int32_t x, int32_t y, uint32_t flags) override {
    int32_t position[2] = {x, y};
    return function<frame::MouseRoutine>(routine)(position, flags);
  }
  double call_needle(RecordRef callback, RecordRef element) override {
    return function<frame::NeedleCallback>(callback)(pointer<frame::ElementHeader>(element));
  }

 private:
  static void check(RecordRef at) {
    if (at < kLowestRecord) throw HostError("a record at the null address " + std::to_string(at));
  }
  std::vector<std::unique_ptr<std::max_align_t[]>> blocks_;
};

}  // namespace

std::unique_ptr<ModuleSpace> make_native_space() {
  return std::make_unique<NativeSpace>();
}

ModuleSpace& native_records() {
  static NativeSpace space;
  return space;
}

}  // namespace host
