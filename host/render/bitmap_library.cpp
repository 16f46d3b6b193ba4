#include "host/render/bitmap_library.h"

#include "formats/dib_decoder.h"
#include "formats/format_error.h"
#include "host/host_error.h"
#include "host/loaded_module.h"

namespace host::render {

const Image& BitmapLibrary::get(const LoadedModule* module, uint32_t id) {
  const std::string name = module != nullptr ? module->name() : std::string();
  auto key = std::make_pair(name, id);
  if (auto found = images_.find(key); found != images_.end()) return found->second;
  if (module == nullptr) throw HostError("no bitmap " + std::to_string(id) + " was given");
  try {
    auto& source = sources_[name];
    if (source == nullptr) source = module_bitmaps(*module);
    const std::vector<uint8_t> dib = source->dib(id);
    return images_.emplace(key, formats::decode_dib(dib.data(), dib.size())).first->second;
  } catch (const HostError& error) {
    throw HostError("module " + name + ", bitmap " + std::to_string(id) + ": " + error.what());
  } catch (const formats::FormatError& error) {
    throw HostError("module " + name + ", bitmap " + std::to_string(id) + ": " + error.what());
  }
}

void BitmapLibrary::put(const std::string& module, uint32_t id, Image image) {
  images_[std::make_pair(module, id)] = std::move(image);
}

}  // namespace host::render
