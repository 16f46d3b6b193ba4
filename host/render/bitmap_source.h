#pragma once
// Where a module's pictures come from. The Windows module carries them as
// BITMAP resources; the native module has none, so the build puts each
// picture beside it as MODULE.bitmaps/ID.bmp. Both give the same DIB bytes.
#include <cstdint>
#include <memory>
#include <vector>

namespace host {
class LoadedModule;
}

namespace host::render {

class BitmapSource {
 public:
  virtual ~BitmapSource() = default;
  // The DIB of bitmap `id`, from its info header on; throws HostError when
  // the module has no such picture.
  virtual std::vector<uint8_t> dib(uint32_t id) const = 0;
};

// The pictures of a loaded module, by this build's means.
std::unique_ptr<BitmapSource> module_bitmaps(const LoadedModule& module);

}  // namespace host::render
