#pragma once
// A module kept loaded for the whole fuzzing run, with its writable data as
// it was just after loading, put back before every input. The fuzzer cannot
// let the host unload a module (its coverage counters live in it), and
// without the reset one input's state would leak into the next and a crash
// found would not replay from its input alone.
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

class ModuleImage {
 public:
  // Loads `path` for good (the host's own load of the same path then finds it).
  explicit ModuleImage(const std::string& path);
  ModuleImage(const ModuleImage&) = delete;
  ModuleImage& operator=(const ModuleImage&) = delete;

  // The module's writable data as just after loading.
  void restore() const;
  // An exported symbol, or null.
  void* symbol(const char* name) const;

 private:
  struct Range {
    uint8_t* start;
    std::vector<uint8_t> bytes;
  };
  void* handle_ = nullptr;
  std::vector<Range> ranges_;
};

}  // namespace fuzz
