// Native builds: the pictures the build copied beside the module file, or,
// for a .gau in the emulated loader, its own BITMAP resources.
#include <dlfcn.h>

#include <fstream>
#include <iterator>
#include <string>

#include "formats/dib_header.h"
#include "host/host_error.h"
#include "host/loaded_module.h"
#include "host/render/bitmap_source.h"

namespace host::render {
namespace {

class BitmapFiles final : public BitmapSource {
 public:
  explicit BitmapFiles(std::string folder) : folder_(std::move(folder)) {}

  std::vector<uint8_t> dib(uint32_t id) const override {
    const std::string path = folder_ + "/" + std::to_string(id) + ".bmp";
    std::ifstream in(path, std::ios::binary);
    if (!in) throw HostError("cannot read " + path);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    // A file has the 14-byte file header the resource lacks.
    const std::span<const uint8_t> dib = formats::bmp_file_dib(bytes);
    if (dib.empty()) throw HostError(path + " is not a BMP file");
    return {dib.begin(), dib.end()};
  }

 private:
  std::string folder_;
};

class FileResources final : public BitmapSource {
 public:
  explicit FileResources(const ModuleFile& file) : file_(file) {}

  std::vector<uint8_t> dib(uint32_t id) const override {
    std::vector<uint8_t> bytes = file_.bitmap_resource(id);
    if (bytes.empty()) throw HostError("the module has no such BITMAP resource");
    return bytes;
  }

 private:
  const ModuleFile& file_;
};

}  // namespace

std::unique_ptr<BitmapSource> module_bitmaps(const LoadedModule& module) {
  if (module.file().carries_bitmaps()) return std::make_unique<FileResources>(module.file());
  // The file the module's own records were loaded from, wherever that was.
  Dl_info info{};
  const void* records =
      reinterpret_cast<const void*>(static_cast<uintptr_t>(module.import_table()));
  if (dladdr(records, &info) == 0 || info.dli_fname == nullptr) {
    throw HostError("module " + module.name() + ": cannot tell which file it was loaded from");
  }
  std::string file = info.dli_fname;
  auto slash = file.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : file.substr(0, slash);
  return std::make_unique<BitmapFiles>(folder + "/" + module.name() + ".bitmaps");
}

}  // namespace host::render
