#include "host/module_loader.h"

#include <filesystem>
#include <system_error>

#include "host/host_error.h"

#if GAUGEHOST_EMULATED
#include "host/emulated_space.h"
#endif

namespace host {
namespace {

#if !defined(_WIN32)
namespace fs = std::filesystem;

// A NAME.gau with no NAME.so beside it: only the emulated loader can fly it.
bool holds_gau_without_so(const std::string& folder) {
  std::error_code error;
  const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
    const fs::path& path = entry.path();
    if (path.extension() != ".gau") continue;
    fs::path so = path;
    so.replace_extension(".so");
    if (!fs::exists(so, error)) return true;
  }
  return false;
}
#endif

}  // namespace

std::string pick_loader(const std::string& modules_dir, const std::string& loader) {
  if (!loader.empty() && loader != "native" && loader != "emulated") {
    throw HostError("unknown loader \"" + loader + "\" (native or emulated)");
  }
#if defined(_WIN32)
  static_cast<void>(modules_dir);
  if (loader == "emulated") {
    throw HostError("the Windows build loads modules with LoadLibrary only (--loader native)");
  }
  return "native";
#else
  if (!loader.empty()) return loader;
  return holds_gau_without_so(modules_dir) ? "emulated" : "native";
#endif
}

std::unique_ptr<ModuleSpace> make_module_space(const std::string& modules_dir,
                                               const std::string& loader,
                                               const EmulationSettings& emulation) {
  const std::string picked = pick_loader(modules_dir, loader);
  if (picked == "native") return make_native_space();
#if GAUGEHOST_EMULATED
  return make_emulated_space(emulation);
#else
  static_cast<void>(emulation);
  throw HostError("this build has no emulated loader");
#endif
}

void say_loader(const std::string& modules_dir, const std::string& loader, std::ostream& err) {
  if (pick_loader(modules_dir, loader) != "emulated") return;
  err << "gaugehost: loader: emulated, running the 32-bit .gau files of "
      << (modules_dir.empty() ? "the program's folder" : modules_dir) << " in the CPU emulator\n";
}

}  // namespace host
