#pragma once
// The decoded pictures of the modules on a panel, each read once, by module
// name and bitmap id.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "host/render/bitmap_source.h"
#include "host/render/image.h"

namespace host::render {

class BitmapLibrary {
 public:
  // The picture `id` of `module`; throws HostError naming the module and the
  // bitmap when it is missing or cannot be decoded. A null module has only
  // the pictures given with put().
  const Image& get(const LoadedModule* module, uint32_t id);
  // Gives a picture in place of the module's own (module "" for gauges
  // without a module).
  void put(const std::string& module, uint32_t id, Image image);

 private:
  std::map<std::pair<std::string, uint32_t>, Image> images_;
  std::map<std::string, std::unique_ptr<BitmapSource>> sources_;
};

}  // namespace host::render
