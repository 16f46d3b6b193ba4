// Which loader a host picks for a module folder, and what it says about it.
#include "host/module_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_error.h"

namespace {

namespace fs = std::filesystem;

TEST(ModuleLoader, PicksByTheFilesInTheFolderUnlessAsked) {
  struct Row {
    const char* name;
    std::vector<const char*> files;
    const char* asked;
    const char* picked;
  };
  const Row rows[] = {
      {"native modules", {"vrn_gpws.so", "libFSSound.so"}, "", "native"},
      {"real modules only", {"vrn_gpws.gau", "FSSound.dll"}, "", "emulated"},
      {"both of each name", {"vrn_gpws.gau", "vrn_gpws.so"}, "", "native"},
      {"one .gau without its .so", {"vrn_gpws.gau", "vrn_gpws.so", "cabsound.gau"}, "", "emulated"},
      {"an empty folder", {}, "", "native"},
      {"native asked for", {"vrn_gpws.gau"}, "native", "native"},
      {"emulated asked for", {"vrn_gpws.so"}, "emulated", "emulated"},
  };
  const fs::path dir = fs::temp_directory_path() / "module_loader_test";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* file : row.files) std::ofstream(dir / file) << "x";
    EXPECT_EQ(host::pick_loader(dir.string(), row.asked), row.picked);
    std::ostringstream err;
    host::say_loader(dir.string(), row.asked, err);
    if (std::string(row.picked) == "emulated") {
      EXPECT_EQ(err.str(), "gaugehost: loader: emulated, running the 32-bit .gau files of " +
                               dir.string() + " in the CPU emulator\n");
    } else {
      EXPECT_EQ(err.str(), "") << "natively loaded modules go unsaid";
    }
  }
  fs::remove_all(dir);
  EXPECT_THROW(host::pick_loader(".", "wine"), host::HostError);
}

}  // namespace
