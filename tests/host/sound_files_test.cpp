// The one table of sound files (host/sounds.cmake) against what comes of
// it: the paths the modules load, the WAV files the build made and the
// package's SOUNDS.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "formats/sim_path.h"
#include "frame/host_facts.h"
#include "host_fixture.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines table_paths(std::initializer_list<std::span<const char* const>> lists) {
  Lines out;
  for (auto list : lists) out.insert(out.end(), list.begin(), list.end());
  return out;
}

TEST(SoundFiles, ModulesLoadTheTablesPathsInSlotOrder) {
  struct Row {
    const char* module;
    const char* gauge;
    std::span<const char* const> paths;
  };
  const Row rows[] = {{"vrn_gpws", "test", facts::kGpwsSoundPaths},
                      {"cabsound", "XML-Sound", facts::kCabsoundSoundPaths}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.module);
    host::PanelHost panel(testing_host::options());
    panel.add_gauge(row.module, row.gauge);
    panel.start();
    Lines loaded;
    for (const host::Event& e : panel.events().events()) {
      if (e.kind == host::EventKind::kSoundLoad) loaded.push_back(e.text);
    }
    EXPECT_EQ(loaded, Lines(row.paths.begin(), row.paths.end()));
  }
}

// Every path a module loads has its WAV in the tests' simulator folder, and
// the folder holds no WAV that no module loads.
TEST(SoundFiles, TheBuildMadeEachWavAndNoOther) {
  const Lines paths = table_paths({facts::kGpwsSoundPaths, facts::kCabsoundSoundPaths});
  std::set<std::string> wanted;
  for (const std::string& path : paths) {
    const fs::path file = formats::sim_file_path(SIM_ROOT, path);
    EXPECT_TRUE(fs::is_regular_file(file)) << file;
    EXPECT_GT(fs::is_regular_file(file) ? fs::file_size(file) : 0, 44u) << file;
    wanted.insert(file.filename().string());
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(SIM_ROOT) / "Sound")) {
    EXPECT_EQ(wanted.count(entry.path().filename().string()), 1u) << "stray " << entry.path();
  }
}

// The package's sound list names each module's files under its module, in
// slot order, and no other file.
TEST(SoundFiles, ThePackagesListNamesEachFileUnderItsModule) {
  std::ifstream in(SOUNDS_TXT);
  ASSERT_TRUE(in) << SOUNDS_TXT;
  std::vector<std::pair<std::string, std::string>> listed;  // module, path
  std::string module;
  for (std::string line; std::getline(in, line);) {
    if (line.find(".gau ") != std::string::npos || line.ends_with(".gau")) {
      module = line.substr(0, line.find(".gau"));
    } else if (line.rfind("  Sound\\", 0) == 0) {
      listed.emplace_back(module, line.substr(2, line.find(".wav") + 2));
    }
  }
  std::vector<std::pair<std::string, std::string>> wanted;
  for (const char* path : facts::kGpwsSoundPaths) wanted.emplace_back("vrn_gpws", path);
  for (const char* path : facts::kCabsoundSoundPaths) wanted.emplace_back("cabsound", path);
  EXPECT_EQ(listed, wanted);
}

}  // namespace
