// Mixing a flight's sound calls into one track: crafted events against
// small crafted WAV files, at 10 frames per second so frame f starts at
// sample 2205 * f.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "formats/sim_path.h"
#include "host/audio/track_mixer.h"
#include "host/audio/wav_file.h"
#include "host/event_stream.h"
#include "host/host_error.h"

namespace {

namespace fs = std::filesystem;
constexpr double kFps = 10.0;
constexpr size_t kFrame = 2205;  // samples per frame at kFps

std::vector<int16_t> constant(size_t n, int16_t value) {
  return std::vector<int16_t>(n, value);
}

// Every sample different, so a restart or a loop's wrap shows.
std::vector<int16_t> ramp(size_t n) {
  std::vector<int16_t> out;
  for (size_t i = 0; i < n; ++i) out.push_back(static_cast<int16_t>(i + 1));
  return out;
}

// The files the crafted logs play, all at the track's rate.
const std::map<std::string, std::vector<int16_t>>& clips() {
  static const std::map<std::string, std::vector<int16_t>> all = {
      {"a", constant(kFrame, 1000)},     {"b", constant(2 * kFrame, -3000)},
      {"r", ramp(3 * kFrame / 2)},       {"loud", constant(2 * kFrame, 30000)},
      {"low", constant(kFrame, -30000)},
  };
  return all;
}

// Crafted events; their paths live as long as the test program.
const char* path_of(const std::string& clip) {
  static host::EventStream texts;
  return texts.intern("Sound\\" + clip + ".wav");
}

host::Event sound(host::EventKind kind, uint32_t frame, uint32_t h, const std::string& clip) {
  host::Event e;
  e.frame = frame;
  e.kind = kind;
  e.code = h;
  e.text = path_of(clip);
  return e;
}

host::Event play(uint32_t frame, uint32_t h, const std::string& clip, int loop = 0,
                 int result = 1) {
  host::Event e = sound(host::EventKind::kSoundPlay, frame, h, clip);
  e.arg = static_cast<uint32_t>(loop);
  e.result = static_cast<uint32_t>(result);
  return e;
}

host::Event stop(uint32_t frame, uint32_t h, const std::string& clip) {
  return sound(host::EventKind::kSoundStop, frame, h, clip);
}

host::Event unload(uint32_t frame, uint32_t h, const std::string& clip) {
  return sound(host::EventKind::kSoundUnload, frame, h, clip);
}

host::Event other(uint32_t frame) {
  host::Event e;
  e.frame = frame;
  e.kind = host::EventKind::kKeyEvent;
  return e;
}

// A clip heard from sample `begin` to `end` (exclusive), from its start,
// wrapping around when it loops.
struct Heard {
  std::string clip;
  size_t begin, end;
};

struct MixRow {
  const char* name;
  std::vector<host::Event> log;
  std::vector<Heard> heard;
  size_t length;
};

std::vector<int16_t> expected_track(const MixRow& row) {
  std::vector<int32_t> sum(row.length, 0);
  for (const Heard& h : row.heard) {
    const std::vector<int16_t>& clip = clips().at(h.clip);
    for (size_t i = h.begin; i < h.end; ++i) sum[i] += clip[(i - h.begin) % clip.size()];
  }
  std::vector<int16_t> out;
  for (int32_t v : sum)
    out.push_back(static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v));
  return out;
}

class TrackMix : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("audio_mix_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "Sound");
    for (const auto& [name, samples] : clips()) write(name, 22050, samples);
  }
  void TearDown() override { fs::remove_all(root_); }

  void write(const std::string& name, uint32_t rate, const std::vector<int16_t>& samples) {
    host::audio::write_wav_mono16((root_ / "Sound" / (name + ".wav")).string(), rate, samples);
  }
  std::vector<int16_t> mix(const std::vector<host::Event>& log) {
    return host::audio::mix_track(log, kFps, root_.string());
  }

  fs::path root_;
};

// The first sample that differs, for a readable failure on long tracks.
void expect_same_track(const std::vector<int16_t>& got, const std::vector<int16_t>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    if (got[i] != want[i]) {
      ADD_FAILURE() << "sample " << i << " is " << got[i] << ", expected " << want[i];
      return;
    }
  }
}

TEST_F(TrackMix, PlaysStopsLoopsAndSumsAsTheLogSays) {
  const size_t F = kFrame;
  const std::vector<MixRow> rows = {
      {"a play starts at its frame and the track lasts to the last frame",
       {play(3, 1, "a"), other(10)},
       {{"a", 3 * F, 4 * F}},
       10 * F},
      {"two plays start at their own frames",
       {play(1, 1, "a"), play(5, 2, "b"), other(9)},
       {{"a", F, 2 * F}, {"b", 5 * F, 7 * F}},
       9 * F},
      {"a loop repeats until its stop",
       {play(2, 1, "r", 1), stop(7, 1, "r"), other(10)},
       {{"r", 2 * F, 7 * F}},
       10 * F},
      {"a stop cuts the sound at once",
       {play(1, 1, "b"), stop(2, 1, "b"), other(4)},
       {{"b", F, 2 * F}},
       4 * F},
      {"a new play of the handle restarts it",
       {play(1, 1, "r"), play(2, 1, "r"), other(5)},
       {{"r", F, 2 * F}, {"r", 2 * F, 2 * F + 3 * F / 2}},
       5 * F},
      {"an unload ends a loop",
       {play(1, 3, "r", 1), unload(4, 3, "r"), other(8)},
       {{"r", F, 4 * F}},
       8 * F},
      {"a loop nobody stops lasts to the last frame",
       {play(1, 1, "r", 1), other(6)},
       {{"r", F, 6 * F}},
       6 * F},
      {"a stop of another handle leaves it playing",
       {play(1, 1, "b"), stop(2, 2, "a"), unload(2, 7, "a"), other(5)},
       {{"b", F, 3 * F}},
       5 * F},
      {"a refused play changes nothing",
       {play(1, 1, "r", 1), play(2, 1, "a", 0, 0), play(3, 2, "b", 0, 0), stop(4, 1, "r"),
        other(5)},
       {{"r", F, 4 * F}},
       5 * F},
      {"a stop in the frame of the play, after it, silences it",
       {play(2, 1, "a"), stop(2, 1, "a"), other(4)},
       {},
       4 * F},
      {"a sound playing past the last frame lengthens the track",
       {other(0), play(9, 1, "b")},
       {{"b", 9 * F, 11 * F}},
       11 * F},
      {"overlapping sounds are summed",
       {play(1, 1, "a"), play(1, 2, "b"), other(4)},
       {{"a", F, 2 * F}, {"b", F, 3 * F}},
       4 * F},
      {"sums beyond 16 bits clip at both ends",
       {play(1, 1, "loud"), play(2, 2, "loud"), play(5, 3, "low"), play(5, 4, "low"), other(7)},
       {{"loud", F, 3 * F}, {"loud", 2 * F, 4 * F}, {"low", 5 * F, 6 * F}, {"low", 5 * F, 6 * F}},
       7 * F},
      {"no sounds: silence as long as the log", {other(3)}, {}, 3 * F},
      {"no log: no track", {}, {}, 0},
  };
  for (const MixRow& row : rows) {
    SCOPED_TRACE(row.name);
    expect_same_track(mix(row.log), expected_track(row));
  }
}

struct RateRow {
  const char* name;
  uint32_t rate;
  std::vector<int16_t> samples;
  std::vector<int16_t> heard;  // in the track, from frame 1 on
};

TEST_F(TrackMix, ResamplesOtherRatesLinearly) {
  const std::vector<RateRow> rows = {
      {"half rate: twice as long, halfway values between",
       11025,
       {0, 1000, 2000},
       {0, 500, 1000, 1500, 2000, 2000}},
      {"double rate: every other sample", 44100, {10, 20, 30, 40, 50, 60}, {10, 30, 50}},
      {"same rate: unchanged", 22050, {1, -2, 3}, {1, -2, 3}},
      {"8000 Hz: 800 samples last 0.1 s", 8000, constant(800, 700), constant(kFrame, 700)},
  };
  for (const RateRow& row : rows) {
    SCOPED_TRACE(row.name);
    write("x", row.rate, row.samples);
    const std::vector<int16_t> track = mix({play(1, 1, "x"), other(3)});
    ASSERT_EQ(track.size(), 3 * kFrame);
    std::vector<int16_t> want(3 * kFrame, 0);
    std::copy(row.heard.begin(), row.heard.end(), want.begin() + kFrame);
    expect_same_track(track, want);
  }
}

TEST_F(TrackMix, MissingWavIsNamed) {
  try {
    mix({play(1, 1, "nowhere")});
    ADD_FAILURE() << "mixed";
  } catch (const host::HostError& error) {
    // The host joins the root and the module's path with '/' on every platform.
    const std::string want = "missing WAV file " + root_.string() + "/Sound/nowhere.wav";
    EXPECT_EQ(std::string(error.what()).rfind(want, 0), 0u) << error.what();
  }
}

TEST_F(TrackMix, WritesTheTrackAsSixteenBitMono) {
  const std::string out = (root_ / "track.wav").string();
  const size_t samples =
      host::audio::write_track(out, {play(1, 1, "a"), other(2)}, kFps, root_.string());
  EXPECT_EQ(samples, 2 * kFrame);
  EXPECT_FALSE(fs::exists(out + ".tmp"));
  const host::audio::WavClip clip = host::audio::read_wav(out);
  EXPECT_EQ(clip.sample_rate, 22050u);
  EXPECT_EQ(clip.channels, 1u);
  EXPECT_EQ(clip.bits_per_sample, 16u);
  ASSERT_EQ(clip.mono.size(), 2 * kFrame);
  EXPECT_EQ(clip.mono[kFrame - 1], 0.0);
  EXPECT_EQ(clip.mono[kFrame], 1000.0);
}

TEST(SoundFile, ResolvesModulePathsUnderTheRoot) {
  struct Row {
    const char* root;
    const char* relative;
    const char* file;
  };
#if defined(_WIN32)
  // Under Wine a Unix root is read through the drive that maps "/".
  constexpr const char* kUnixRoot = "Z:/abs/root/Sound/b.wav";
#else
  constexpr const char* kUnixRoot = "/abs/root/Sound/b.wav";
#endif
  const Row rows[] = {
      {"root", "Sound\\a.wav", "root/Sound/a.wav"},
      {"/abs/root/", "Sound\\b.wav", kUnixRoot},
      {"", "Sound\\c.wav", "Sound/c.wav"},
      {"r", "Sound\\deep\\d.wav", "r/Sound/deep/d.wav"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.relative);
    EXPECT_EQ(formats::sim_file_path(row.root, row.relative), row.file);
  }
}

}  // namespace
