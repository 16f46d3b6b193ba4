// Windows builds: the module's own BITMAP resources.
#include <windows.h>

#include <string>

#include "host/host_error.h"
#include "host/loaded_module.h"
#include "host/render/bitmap_source.h"

namespace host::render {
namespace {

class BitmapResources final : public BitmapSource {
 public:
  explicit BitmapResources(HMODULE module) : module_(module) {}

  std::vector<uint8_t> dib(uint32_t id) const override {
    // Resource ids are 16 bits; a larger one cannot name a resource.
    HRSRC found =
        id > 0xffff ? nullptr : FindResourceA(module_, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = found != nullptr ? LoadResource(module_, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
      throw HostError("the module has no such BITMAP resource");
    }
    const auto* first = static_cast<const uint8_t*>(bytes);
    return std::vector<uint8_t>(first, first + SizeofResource(module_, found));
  }

 private:
  HMODULE module_;
};

}  // namespace

std::unique_ptr<BitmapSource> module_bitmaps(const LoadedModule& module) {
  // The module that holds its own import table, without taking a reference.
  HMODULE handle = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(module.import_table())), &handle)) {
    throw HostError("module " + module.name() + ": cannot find its handle");
  }
  return std::make_unique<BitmapResources>(handle);
}

}  // namespace host::render
