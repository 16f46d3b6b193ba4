#pragma once
// A dynamic library opened by path: LoadLibrary in the Windows build,
// dlopen natively.
#include <cstdint>
#include <memory>
#include <string>

namespace host {

class ModuleLibrary {
 public:
  // Null with `error` set when the file cannot be loaded.
  static std::unique_ptr<ModuleLibrary> open(const std::string& path, std::string& error);
  ~ModuleLibrary();
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  void* data_symbol(const char* name) const;
  // The third argument of the install call: the module's resource handle.
  uint32_t resource_handle() const;

 private:
  explicit ModuleLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

// The file name of a module in this build: NAME.gau for Windows, NAME.so natively.
std::string module_file_name(const std::string& module);

}  // namespace host
