// Reading the WAV files sounds are mixed from, and writing the track.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "host/audio/wav_file.h"
#include "host/host_error.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

void put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8 & 0xFF));
}

void put32(Bytes& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

struct Chunk {
  std::string tag;
  Bytes body;
  std::optional<uint32_t> size_field;  // when the header should lie
};

Bytes riff(const std::vector<Chunk>& chunks, const std::string& form = "WAVE") {
  Bytes out = {'R', 'I', 'F', 'F', 0, 0, 0, 0};
  out.insert(out.end(), form.begin(), form.end());
  for (const Chunk& c : chunks) {
    out.insert(out.end(), c.tag.begin(), c.tag.end());
    put32(out, c.size_field.value_or(static_cast<uint32_t>(c.body.size())));
    out.insert(out.end(), c.body.begin(), c.body.end());
    if (c.body.size() % 2 == 1) out.push_back(0);
  }
  const uint32_t riff_size = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riff_size >> (8 * i) & 0xFF);
  return out;
}

Chunk fmt(uint32_t channels, uint32_t rate, uint32_t bits, uint32_t format_tag = 1) {
  Bytes b;
  put16(b, format_tag);
  put16(b, channels);
  put32(b, rate);
  put32(b, rate * channels * bits / 8);
  put16(b, channels * bits / 8);
  put16(b, bits);
  return Chunk{"fmt ", b, std::nullopt};
}

Bytes le16s(const std::vector<int16_t>& samples) {
  Bytes b;
  for (int16_t s : samples) put16(b, static_cast<uint16_t>(s));
  return b;
}

struct GoodRow {
  const char* name;
  Bytes file;
  uint32_t rate, channels, bits;
  std::vector<double> mono;
};

TEST(WavRead, ConvertsEveryDepthAndChannelCountToOneSignal) {
  const Chunk list{"LIST", Bytes{'a', 'b', 'c'}, std::nullopt};
  const std::vector<GoodRow> rows = {
      {"16-bit mono",
       riff({fmt(1, 22050, 16), {"data", le16s({1000, -2000, 32767, -32768}), {}}}),
       22050,
       1,
       16,
       {1000, -2000, 32767, -32768}},
      {"16-bit stereo averages the channels",
       riff({fmt(2, 44100, 16), {"data", le16s({1000, 3000, -32768, 32767}), {}}}),
       44100,
       2,
       16,
       {2000, -0.5}},
      {"8-bit mono is unsigned around 128",
       riff({fmt(1, 11025, 8), {"data", Bytes{128, 255, 0, 192}, {}}}),
       11025,
       1,
       8,
       {0, 32512, -32768, 16384}},
      {"8-bit stereo",
       riff({fmt(2, 8000, 8), {"data", Bytes{0, 255, 128, 192}, {}}}),
       8000,
       2,
       8,
       {-128, 8192}},
      {"odd chunk before fmt is skipped with its pad byte",
       riff({list, fmt(1, 22050, 16), {"data", le16s({7}), {}}}),
       22050,
       1,
       16,
       {7}},
      {"a partial last block is dropped",
       riff({fmt(2, 22050, 16), {"data", Bytes{0x10, 0, 0x30, 0, 0x55}, {}}}),
       22050,
       2,
       16,
       {32}},
      {"empty data", riff({fmt(1, 22050, 16), {"data", Bytes{}, {}}}), 22050, 1, 16, {}},
      {"data before fmt", riff({{"data", Bytes{130}, {}}, fmt(1, 22050, 8)}), 22050, 1, 8, {512}},
  };
  for (const GoodRow& row : rows) {
    SCOPED_TRACE(row.name);
    const host::audio::WavClip clip = host::audio::parse_wav(row.file, "good.wav");
    EXPECT_EQ(clip.sample_rate, row.rate);
    EXPECT_EQ(clip.channels, row.channels);
    EXPECT_EQ(clip.bits_per_sample, row.bits);
    EXPECT_EQ(clip.mono, row.mono);
  }
}

struct BadRow {
  const char* name;
  Bytes file;
  const char* problem;
};

TEST(WavRead, RejectsFilesTheSoundLibraryRefuses) {
  const Chunk data{"data", le16s({1, 2}), std::nullopt};
  Bytes short_fmt = fmt(1, 22050, 16).body;
  short_fmt.resize(14);
  const std::vector<BadRow> rows = {
      {"empty file", Bytes{}, "not a RIFF WAVE file"},
      {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, "not a RIFF WAVE"},
      {"not WAVE", riff({fmt(1, 22050, 16), data}, "AVI "), "not a RIFF WAVE file"},
      {"no fmt chunk", riff({data}), "no \"fmt \" chunk"},
      {"fmt too short", riff({{"fmt ", short_fmt, {}}, data}), "\"fmt \" chunk is too short"},
      {"float samples", riff({fmt(1, 22050, 32, 3), data}), "not PCM (format 3)"},
      {"three channels", riff({fmt(3, 22050, 16), data}), "3 channels"},
      {"24-bit samples", riff({fmt(1, 22050, 24), data}), "24 bits per sample"},
      {"rate 0", riff({fmt(1, 0, 16), data}), "sample rate of 0"},
      {"no data chunk", riff({fmt(1, 22050, 16)}), "no \"data\" chunk"},
      {"streaming data size", riff({fmt(1, 22050, 16), {"data", le16s({1, 2}), 0x7FFFFFFF}}),
       "\"data\" chunk runs past the end"},
      {"fmt size past the end", riff({{"fmt ", fmt(1, 22050, 16).body, 400}}),
       "\"fmt \" chunk runs past the end"},
  };
  for (const BadRow& row : rows) {
    SCOPED_TRACE(row.name);
    try {
      host::audio::parse_wav(row.file, "bad.wav");
      ADD_FAILURE() << "accepted";
    } catch (const host::HostError& error) {
      const std::string what = error.what();
      EXPECT_NE(what.find("bad WAV file bad.wav: "), std::string::npos) << what;
      EXPECT_NE(what.find(row.problem), std::string::npos) << what;
    }
  }
}

class WavFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("audio_wav_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST_F(WavFiles, UnreadableFilesAreNamedAsMissing) {
  fs::create_directories(path("folder.wav"));
  for (const std::string& name : {path("nowhere.wav"), path("folder.wav")}) {
    SCOPED_TRACE(name);
    try {
      host::audio::read_wav(name);
      ADD_FAILURE() << "read";
    } catch (const host::HostError& error) {
      EXPECT_EQ(std::string(error.what()).rfind("missing WAV file " + name, 0), 0u) << error.what();
    }
  }
}

TEST_F(WavFiles, WrittenTrackReadsBackAndReplacesAnOldFile) {
  const std::string out = path("track.wav");
  std::ofstream(out) << "an older, longer file that must not survive in any part";
  const std::vector<std::vector<int16_t>> tracks = {{0, 1, -1, 32767, -32768}, {}, {5}};
  for (size_t i = 0; i < tracks.size(); ++i) {
    SCOPED_TRACE("track " + std::to_string(i));
    host::audio::write_wav_mono16(out, 22050, tracks[i]);
    EXPECT_FALSE(fs::exists(out + ".tmp"));
    EXPECT_EQ(fs::file_size(out), 44 + 2 * tracks[i].size());
    const host::audio::WavClip clip = host::audio::read_wav(out);
    EXPECT_EQ(clip.sample_rate, 22050u);
    EXPECT_EQ(clip.channels, 1u);
    EXPECT_EQ(clip.bits_per_sample, 16u);
    EXPECT_EQ(clip.mono, std::vector<double>(tracks[i].begin(), tracks[i].end()));
  }
}

TEST_F(WavFiles, UnwritablePlaceIsReported) {
  const std::string out = path("no/such/folder/track.wav");
  EXPECT_THROW(host::audio::write_wav_mono16(out, 22050, {1, 2}), host::HostError);
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
