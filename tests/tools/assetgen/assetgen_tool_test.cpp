// The built executable itself, and files made by gauge_asset() during the
// build: what the rest of the tree actually relies on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <string>
#include <vector>

#include "assetgen_test_support.h"
#include "desc.h"
#include "formats/bmp_writer.h"
#include "wav_writer.h"

extern char** environ;

namespace {

using namespace assetgen_test;

// Every command once, so a repeat run that differs anywhere shows.
constexpr const char* kDescription =
    "fill #203040\n"
    "rect -2 3 10 4 200 10 20\n"
    "rect_outline 1 1 20 12 2 #ffcc00\n"
    "round_rect 4 14 18 9 3 #3366ff\n"
    "scale 2\n"
    "text 1 1 #ffffff 0\n"
    "scale 1\n"
    "text_center 12 15 16 16 16 GPWS\n";

assetgen::Image described(int width, int height) {
  assetgen::Image image(width, height);
  assetgen::draw_description(image, kDescription, "in process");
  return image;
}

struct ToolRun {
  int status;  // exit status, or -1 if the tool did not exit normally
  std::string err;
};

ToolRun run_tool(const std::vector<std::string>& args, const std::string& err_path) {
  std::vector<std::string> argv_strings{ASSETGEN_PATH};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_strings) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, ASSETGEN_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {-1, "spawn failed"};
  int wstatus = 0;
  if (waitpid(pid, &wstatus, 0) != pid || !WIFEXITED(wstatus)) return {-1, "did not exit"};
  const Bytes err = read_file(err_path);
  return {WEXITSTATUS(wstatus), std::string(err.begin(), err.end())};
}

TEST(AssetgenTool, BadArgumentsExitTwoWithOneDiagnostic) {
  const struct {
    const char* name;
    std::vector<std::string> args;  // "OUT" stands for the output path
  } cases[] = {
      {"no arguments", {}},
      {"width out of range", {"bmp", "OUT", "5000", "1"}},
      {"missing description", {"bmp", "OUT", "5", "1", "--desc", "/nonexistent/d.txt"}},
      {"partial block", {"wav", "OUT", "2", "22050", "16", "6"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchDir dir;
    const std::string out = dir.file("out.bin");
    std::vector<std::string> args = c.args;
    for (std::string& a : args) {
      if (a == "OUT") a = out;
    }
    const ToolRun r = run_tool(args, dir.file("stderr.txt"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("assetgen: ", 0), 0u) << r.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(out + ".tmp"));
  }
}

TEST(AssetgenTool, RunsAreByteForByteRepeatable) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    Bytes expected;
  } cases[] = {
      {"bmp",
       {"bmp", "OUT", "29", "29", "255", "128", "0"},
       formats::encode_bmp24({29, 29, {255, 128, 0}})},
      {"wav",
       {"wav", "OUT", "1", "11025", "16", "32996"},
       assetgen::encode_tone_wav({{1, 11025, 16}, 32996, 440})},
      {"bmp from a description",
       {"bmp", "OUT", "25", "24", "--desc", "DESC"},
       formats::encode_bmp24(described(25, 24))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchDir dir;
    const std::string desc = dir.file("picture.txt");
    std::ofstream(desc, std::ios::binary) << kDescription;
    Bytes previous;
    for (const char* out_name : {"first", "second"}) {
      SCOPED_TRACE(out_name);
      const std::string out = dir.file(out_name);
      std::vector<std::string> args = c.args;
      args[1] = out;
      for (std::string& a : args) {
        if (a == "DESC") a = desc;
      }
      const ToolRun r = run_tool(args, dir.file("stderr.txt"));
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(r.err, "");
      const Bytes got = read_file(out);
      EXPECT_EQ(got, c.expected);
      if (!previous.empty()) {
        EXPECT_EQ(got, previous);
      }
      previous = got;
    }
  }
}

TEST(AssetgenTool, DescriptionErrorsNameFileAndLine) {
  const ScratchDir dir;
  const std::string desc = dir.file("bad.txt");
  std::ofstream(desc, std::ios::binary) << "fill 1 2 3\r\n\r\ntext 0 0 #ffffff gpws\r\n";
  const std::string out = dir.file("out.bmp");
  const ToolRun r = run_tool({"bmp", out, "8", "8", "--desc", desc}, dir.file("stderr.txt"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("assetgen: " + desc + ":3: the pixel font has no character 'g'", 0), 0u)
      << r.err;
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  EXPECT_FALSE(fs::exists(out));
}

assetgen::Image described_fixture() {
  const std::string desc =
      std::string(SOURCE_ROOT) + "/tests/tools/assetgen/fixtures/described.txt";
  assetgen::Image image(9, 7);
  assetgen::draw_description(image, assetgen::read_description_file(desc), desc);
  return image;
}

TEST(AssetgenTool, GaugeAssetProducedTheRequestedFiles) {
  const struct {
    const char* file;
    Bytes expected;
  } cases[] = {
      {"swatch.bmp", formats::encode_bmp24({3, 2, {10, 20, 30}})},
      {"tone.wav", assetgen::encode_tone_wav({{2, 22050, 16}, 80764, 1000})},
      {"described.bmp", formats::encode_bmp8(described_fixture())},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = std::string(ASSETGEN_FIXTURE_DIR) + "/" + c.file;
    EXPECT_EQ(read_file(path), c.expected);
    EXPECT_FALSE(fs::exists(path + ".tmp"));
  }
}

}  // namespace
