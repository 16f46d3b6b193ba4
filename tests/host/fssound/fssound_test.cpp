// Checks the stand-in sound library the way the modules and the host see it:
// load results and handles, play/stop/unload and looping, injected failures,
// every call reported (as the log words it) and where relative paths resolve.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/sound_library.h"
#include "host/fssound/fssound_host.h"
#include "sound_calls.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>(v >> 8 & 0xFF));
}

void put32(Bytes& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

struct Format {
  uint32_t tag = 1, channels = 1, rate = 22050, bits = 16;
};

Bytes fmt_body(const Format& f) {
  Bytes b;
  put16(b, f.tag);
  put16(b, f.channels);
  put32(b, f.rate);
  put32(b, f.rate * f.channels * f.bits / 8);
  put16(b, f.channels * f.bits / 8);
  put16(b, f.bits);
  return b;
}

// One chunk; `declared` overrides the size field to describe a damaged file.
Bytes chunk(const char* id, const Bytes& body, int64_t declared = -1) {
  Bytes b(id, id + 4);
  put32(b, declared < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declared));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() % 2 != 0 && declared < 0) b.push_back(0);
  return b;
}

Bytes riff(const std::vector<Bytes>& chunks, const char* form = "WAVE", const char* tag = "RIFF") {
  Bytes inner(form, form + 4);
  for (const Bytes& c : chunks) inner.insert(inner.end(), c.begin(), c.end());
  Bytes b(tag, tag + 4);
  put32(b, static_cast<uint32_t>(inner.size()));
  b.insert(b.end(), inner.begin(), inner.end());
  return b;
}

Bytes wave(const Format& f = {}, size_t data_bytes = 8) {
  return riff({chunk("fmt ", fmt_body(f)), chunk("data", Bytes(data_bytes, 0x80))});
}

Bytes truncated(Bytes b, size_t keep) {
  b.resize(keep);
  return b;
}

Bytes concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

using testing_host::collect_sound_calls;

// One call in a script; handles are predictable because they restart at 1.
enum class Act { kLoad, kPlay, kStop, kUnload, kFailLoad, kFailPlay };
struct Step {
  Act act;
  uint32_t handle;  // load: the handle expected back
  const char* path;
  int32_t arg;       // play: loop; fail: count
  uint32_t expect;   // load/play result
  uint32_t looping;  // HostIsLooping(handle) afterwards
};

struct Script {
  const char* name;
  std::vector<Step> steps;
};

void run(const Script& script) {
  for (size_t i = 0; i < script.steps.size(); ++i) {
    const Step& s = script.steps[i];
    SCOPED_TRACE(std::string(script.name) + " step " + std::to_string(i));
    uint32_t h = s.handle;
    switch (s.act) {
      case Act::kLoad:
        h = 77;
        EXPECT_EQ(FSSound_Load(&h, s.path), s.expect);
        EXPECT_EQ(h, s.handle);
        continue;
      case Act::kPlay:
        EXPECT_EQ(FSSound_Play(h, static_cast<uint32_t>(s.arg)), s.expect);
        break;
      case Act::kStop:
        FSSound_Stop(h);
        break;
      case Act::kUnload:
        FSSound_Unload(&h);
        break;
      case Act::kFailLoad:
        FSSound_HostFail(kFSSoundLoad, s.path, s.arg);
        continue;
      case Act::kFailPlay:
        FSSound_HostFail(kFSSoundPlay, s.path, s.arg);
        continue;
    }
    EXPECT_EQ(FSSound_HostIsLooping(s.handle), s.looping);
  }
}

// A fresh sound folder per test, with valid Sound\a.wav and Sound\b.wav.
class FSSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    root_ = fs::temp_directory_path() /
            ("fssound_test_" + std::to_string(getpid()) + "_" + std::to_string(++serial));
    fs::create_directories(root_ / "Sound");
    write("Sound/a.wav", wave());
    write("Sound/b.wav", wave({1, 2, 44100, 8}));
    FSSound_HostAttach(root_.string().c_str(), collect_sound_calls, &log_);
  }
  void TearDown() override {
    FSSound_HostAttach("", nullptr, nullptr);
    fs::remove_all(root_);
  }
  void write(const std::string& relative, const Bytes& bytes) {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream out(root_ / relative, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  // Steps of a script, as calls on the fixture so the tables stay short.
  static Step load(const char* path, uint32_t h) { return {Act::kLoad, h, path, 0, h != 0, 0}; }
  static Step play(uint32_t h, int32_t loop, uint32_t result, uint32_t looping) {
    return {Act::kPlay, h, nullptr, loop, result, looping};
  }
  static Step stop(uint32_t h) { return {Act::kStop, h, nullptr, 0, 0, 0}; }
  static Step unload(uint32_t h) { return {Act::kUnload, h, nullptr, 0, 0, 0}; }
  static Step fail_load(const char* path, int32_t count) {
    return {Act::kFailLoad, 0, path, count, 0, 0};
  }
  static Step fail_play(const char* path, int32_t count) {
    return {Act::kFailPlay, 0, path, count, 0, 0};
  }

  fs::path root_;
  std::vector<std::string> log_;
};

struct LoadRow {
  const char* name;
  Bytes bytes;
  uint32_t expected;
};

TEST_F(FSSoundTest, LoadAcceptsOnlyPlayablePcmWaves) {
  Format float_tag{3, 1, 22050, 32}, no_channels{1, 0, 22050, 16}, three{1, 3, 22050, 16};
  Format bits24{1, 1, 22050, 24}, no_rate{1, 1, 0, 16};
  const Bytes fmt = chunk("fmt ", fmt_body({}));
  const Bytes data = chunk("data", Bytes(8, 0x80));
  const std::vector<LoadRow> rows = {
      {"mono16", wave(), 1},
      {"stereo8", wave({1, 2, 11025, 8}), 1},
      {"empty_data", wave({}, 0), 1},
      {"odd_chunk_before_fmt", riff({chunk("LIST", Bytes(3, 'x')), fmt, data}), 1},
      {"data_before_fmt", riff({data, fmt}), 1},
      {"long_fmt", riff({chunk("fmt ", concat(fmt_body({}), Bytes(2, 0))), data}), 1},
      {"empty_file", {}, 0},
      {"header_only", truncated(wave(), 8), 0},
      {"not_riff", riff({fmt, data}, "AVI "), 0},
      {"rifx", riff({fmt, data}, "WAVE", "RIFX"), 0},
      {"no_fmt", riff({data}), 0},
      {"no_data", riff({fmt}), 0},
      // The size field, not the bytes that happen to follow, says where fmt ends.
      {"short_fmt", riff({data, chunk("fmt ", fmt_body({}), 14)}), 0},
      {"float_format", wave(float_tag), 0},
      {"zero_channels", wave(no_channels), 0},
      {"three_channels", wave(three), 0},
      {"24_bits", wave(bits24), 0},
      {"zero_rate", wave(no_rate), 0},
      {"data_cut_short", truncated(wave(), wave().size() - 1), 0},
      {"data_size_huge", riff({fmt, chunk("data", Bytes(8, 0), 0xFFFFFFFF)}), 0},
      {"fmt_size_huge", riff({chunk("fmt ", fmt_body({}), 0xFFFFFFF0), data}), 0},
      {"cut_inside_fmt", truncated(wave(), 30), 0},
  };
  for (const LoadRow& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string file = std::string("Sound/") + row.name + ".wav";
    write(file, row.bytes);
    const std::string path = std::string("Sound\\") + row.name + ".wav";
    uint32_t handle = 77;
    EXPECT_EQ(FSSound_Load(&handle, path.c_str()), row.expected);
    EXPECT_EQ(handle != 0, row.expected == 1);
  }
}

TEST_F(FSSoundTest, LoadFailsWithoutAReadableFile) {
  fs::create_directories(root_ / "Sound" / "folder.wav");
  for (const char* path : {"Sound\\missing.wav", "Sound\\folder.wav", "Other\\a.wav", ""}) {
    SCOPED_TRACE(path);
    uint32_t handle = 77;
    EXPECT_EQ(FSSound_Load(&handle, path), 0u);
    EXPECT_EQ(handle, 0u);
  }
}

struct ResolveRow {
  const char* name;
  std::string root_suffix;  // appended to the test root
  const char* path;
  uint32_t expected;
};

TEST_F(FSSoundTest, RelativePathsResolveUnderTheRootWithBackslashesAsSeparators) {
  write("Sound/Deep/c.wav", wave());
#if !defined(_WIN32)
  // One file whose name holds a backslash, which only a Unix file system has.
  write("Sound\\x.wav", wave());
#endif
  const std::vector<ResolveRow> rows = {
    {"backslash", "", "Sound\\a.wav", 1},
    {"root_with_slash", "/", "Sound\\a.wav", 1},
    {"nested", "", "Sound\\Deep\\c.wav", 1},
    {"forward_slash", "", "Sound/Deep/c.wav", 1},
    {"root_is_sound_folder", "/Sound", "a.wav", 1},
#if !defined(_WIN32)
    {"no_literal_backslash_name", "", "Sound\\x.wav", 0},
#endif
  };
  for (const ResolveRow& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string root = root_.string() + row.root_suffix;
    FSSound_HostAttach(root.c_str(), nullptr, nullptr);
    uint32_t handle = 0;
    EXPECT_EQ(FSSound_Load(&handle, row.path), row.expected);
  }
}

TEST_F(FSSoundTest, HandlesAreSequentialSinceAttachAndNeverReused) {
  const std::vector<std::pair<const char*, uint32_t>> loads = {
      {"Sound\\a.wav", 1}, {"Sound\\missing.wav", 0}, {"Sound\\b.wav", 2}, {"Sound\\a.wav", 3}};
  for (int round = 0; round < 2; ++round) {
    FSSound_HostAttach(root_.string().c_str(), nullptr, nullptr);
    for (const auto& [path, expected] : loads) {
      SCOPED_TRACE(std::string(path) + " round " + std::to_string(round));
      uint32_t handle = 77;
      FSSound_Load(&handle, path);
      EXPECT_EQ(handle, expected);
      if (expected == 2) FSSound_Unload(&handle);  // an unloaded number is not handed out again
    }
  }
  FSSound_HostAttach(root_.string().c_str(), nullptr, nullptr);
  uint32_t untouched = 77;
  EXPECT_EQ(FSSound_Load(nullptr, "Sound\\a.wav"), 0u);
  EXPECT_EQ(FSSound_Load(&untouched, nullptr), 0u);
  EXPECT_EQ(untouched, 77u);
  EXPECT_EQ(FSSound_Load(&untouched, "Sound\\a.wav"), 1u);
  EXPECT_EQ(untouched, 1u) << "null arguments take no handle number";
}

TEST_F(FSSoundTest, PlayStopUnloadAndLooping) {
  const char* a = "Sound\\a.wav";
  const char* b = "Sound\\b.wav";
  const std::vector<Script> scripts = {
      {"loop until stop", {load(a, 1), play(1, 1, 1, 1), play(1, 1, 1, 1), stop(1), stop(1)}},
      {"loop until unload", {load(a, 1), play(1, 1, 1, 1), unload(1), play(1, 0, 0, 0)}},
      {"once does not loop", {load(a, 1), play(1, 0, 1, 0), play(1, 0, 1, 0)}},
      {"once replaces a loop", {load(a, 1), play(1, 1, 1, 1), play(1, 0, 1, 0)}},
      {"handles are independent",
       {load(a, 1), load(b, 2), play(1, 1, 1, 1), play(2, 1, 1, 1), stop(2), play(1, 1, 1, 1),
        unload(2), play(1, 1, 1, 1)}},
      {"unknown handles", {load(a, 1), play(0, 0, 0, 0), play(2, 1, 0, 0), stop(2), unload(9)}},
      {"unloaded handle", {load(a, 1), unload(1), play(1, 1, 0, 0), unload(1), stop(1)}},
      {"stop then play again", {load(a, 1), play(1, 1, 1, 1), stop(1), play(1, 1, 1, 1)}},
  };
  for (const Script& script : scripts) {
    FSSound_HostAttach(root_.string().c_str(), nullptr, nullptr);
    run(script);
  }
}

TEST_F(FSSoundTest, InjectedFailures) {
  const char* a = "Sound\\a.wav";
  const char* b = "Sound\\b.wav";
  const std::vector<Script> scripts = {
      {"load fails once", {fail_load(a, 1), load(a, 0), load(a, 1), load(a, 2)}},
      {"load fails twice", {fail_load(a, 2), load(a, 0), load(a, 0), load(a, 1)}},
      {"load always fails", {fail_load(a, -1), load(a, 0), load(a, 0), load(a, 0), load(b, 1)}},
      {"load rule removed", {fail_load(a, -1), load(a, 0), fail_load(a, 0), load(a, 1)}},
      {"load rule replaced", {fail_load(a, -1), fail_load(a, 1), load(a, 0), load(a, 1)}},
      {"other path unaffected", {fail_load(b, -1), load(a, 1), fail_play(b, -1), play(1, 1, 1, 1)}},
      {"play fails once",
       {load(a, 1), fail_play(a, 1), play(1, 1, 0, 0), play(1, 1, 1, 1), play(1, 0, 1, 0)}},
      {"play always fails", {load(a, 1), fail_play(a, -1), play(1, 1, 0, 0), play(1, 0, 0, 0)}},
      {"refused play keeps the loop",
       {load(a, 1), play(1, 1, 1, 1), fail_play(a, 1), play(1, 0, 0, 1), stop(1)}},
      {"play rule follows the path",
       {load(a, 1), load(a, 2), fail_play(a, 2), play(2, 0, 0, 0), play(1, 0, 0, 0),
        play(2, 0, 1, 0)}},
      {"play rule removed",
       {load(a, 1), fail_play(a, -1), play(1, 0, 0, 0), fail_play(a, 0), play(1, 0, 1, 0)}},
      {"load and play rules apart", {fail_play(a, -1), load(a, 1), fail_load(a, 1), load(a, 0)}},
  };
  for (const Script& script : scripts) {
    FSSound_HostAttach(root_.string().c_str(), nullptr, nullptr);
    run(script);
  }
  FSSound_HostFail(kFSSoundLoad, a, -1);
  FSSound_HostAttach(root_.string().c_str(), nullptr, nullptr);
  run({"attach forgets rules", {load(a, 1)}});
}

TEST_F(FSSoundTest, EveryCallLogsOneExactLine) {
  uint32_t h = 0;
  FSSound_Load(&h, "Sound\\a.wav");
  FSSound_Load(&h, "Sound\\missing.wav");
  FSSound_Load(nullptr, "Sound\\b.wav");
  FSSound_Load(&h, nullptr);
  FSSound_HostFail(kFSSoundPlay, "Sound\\a.wav", 1);
  FSSound_Play(1, 1);
  FSSound_Play(1, 1);
  FSSound_Play(5, 0);
  FSSound_Stop(1);
  FSSound_Stop(0);
  h = 1;
  FSSound_Unload(&h);
  FSSound_Unload(&h);
  FSSound_Unload(nullptr);
  FSSound_Play(1, 0);
  const std::vector<std::string> expected = {
      R"(sound load "Sound\a.wav" -> 1 h=1)",
      R"(sound load "Sound\missing.wav" -> 0 h=0)",
      R"(sound load "Sound\b.wav" -> 0 h=0)",
      R"(sound load ? -> 0 h=0)",
      R"(sound play h=1 "Sound\a.wav" loop=1 -> 0)",
      R"(sound play h=1 "Sound\a.wav" loop=1 -> 1)",
      R"(sound play h=5 ? loop=0 -> 0)",
      R"(sound stop h=1 "Sound\a.wav")",
      R"(sound stop h=0 ?)",
      R"(sound unload h=1 "Sound\a.wav")",
      R"(sound unload h=1 "Sound\a.wav")",
      R"(sound unload h=0 ?)",
      R"(sound play h=1 "Sound\a.wav" loop=0 -> 0)",
  };
  ASSERT_EQ(log_.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("line " + std::to_string(i));
    EXPECT_EQ(log_[i], expected[i]);
  }
}

TEST_F(FSSoundTest, EffectivePlaysStopsAndUnloadsAreRecorded) {
  uint32_t h = 0;
  FSSound_Load(&h, "Sound\\a.wav");  // call 1
  FSSound_Play(1, 1);                // 2: kept
  FSSound_Play(2, 0);                // 3: unknown handle
  FSSound_Stop(1);                   // 4: kept
  FSSound_Unload(&h);                // 5: kept
  FSSound_Stop(1);                   // 6: no longer loaded
  const std::vector<FSSoundEvent> expected = {
      {2, kFSSoundPlay, 1, 1}, {4, kFSSoundStop, 1, 0}, {5, kFSSoundUnload, 1, 0}};
  ASSERT_EQ(FSSound_HostEventCount(), expected.size());
  for (uint32_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("event " + std::to_string(i));
    FSSoundEvent e{};
    ASSERT_EQ(FSSound_HostEvent(i, &e), 1u);
    EXPECT_EQ(e.sequence, expected[i].sequence);
    EXPECT_EQ(e.operation, expected[i].operation);
    EXPECT_EQ(e.handle, expected[i].handle);
    EXPECT_EQ(e.loop, expected[i].loop);
  }
  FSSoundEvent e{};
  EXPECT_EQ(FSSound_HostEvent(3, &e), 0u);
  EXPECT_STREQ(FSSound_HostPath(1), "Sound\\a.wav");
  EXPECT_EQ(FSSound_HostPath(2), nullptr);
  FSSound_HostAttach(root_.string().c_str(), nullptr, nullptr);
  EXPECT_EQ(FSSound_HostEventCount(), 0u);
  EXPECT_EQ(FSSound_HostPath(1), nullptr);
}

}  // namespace
