#include "host/module_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace host {

#if defined(_WIN32)

std::unique_ptr<ModuleLibrary> ModuleLibrary::open(const std::string& path, std::string& error) {
  HMODULE handle = LoadLibraryA(path.c_str());
  if (handle == nullptr) {
    error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  return std::unique_ptr<ModuleLibrary>(new ModuleLibrary(handle));
}

ModuleLibrary::~ModuleLibrary() {
  FreeLibrary(static_cast<HMODULE>(handle_));
}

void* ModuleLibrary::data_symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

uint32_t ModuleLibrary::resource_handle() const {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle_));
}

std::string module_file_name(const std::string& module) {
  return module + ".gau";
}

#else

std::unique_ptr<ModuleLibrary> ModuleLibrary::open(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    error = "cannot load " + path + (why != nullptr ? std::string(": ") + why : std::string());
    return nullptr;
  }
  return std::unique_ptr<ModuleLibrary>(new ModuleLibrary(handle));
}

ModuleLibrary::~ModuleLibrary() {
  dlclose(handle_);
}

void* ModuleLibrary::data_symbol(const char* name) const {
  return dlsym(handle_, name);
}

uint32_t ModuleLibrary::resource_handle() const {
  return 0;
}

std::string module_file_name(const std::string& module) {
  return module + ".so";
}

#endif

}  // namespace host
