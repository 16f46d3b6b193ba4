// cabsound.gau's resources as Windows finds them: the gauge's three pictures
// and the four "SOUND" WAV files.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <set>
#include <span>
#include <string>

#include "cabsound/cabsound_bitmaps.h"
#include "formats/byte_reader.h"
#include "tests/wine/loaded_gau.h"

namespace wine_tests {
namespace {

const char* const kSoundType = "SOUND";

std::string resource_name(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<uintptr_t>(name));
  return name;
}

// A resource's bytes, empty when it is missing.
std::span<const uint8_t> resource_bytes(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC info = FindResourceA(module, name, type);
  if (info == nullptr) return {};
  HGLOBAL handle = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const uint8_t*>(data), size};
}

BOOL CALLBACK add_type(HMODULE, LPSTR type, LONG_PTR names) {
  reinterpret_cast<std::set<std::string>*>(names)->insert(resource_name(type));
  return TRUE;
}

BOOL CALLBACK add_name(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
  reinterpret_cast<std::set<std::string>*>(names)->insert(resource_name(name));
  return TRUE;
}

class CabsoundResources : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gau_.loaded()) << cabsound_gau_path() << ": error " << gau_.load_error();
  }
  LoadedGau gau_{cabsound_gau_path()};
};

TEST_F(CabsoundResources, AreThePicturesAndTheSoundsOnly) {
  std::set<std::string> types;
  EnumResourceTypesA(gau_.handle(), add_type, reinterpret_cast<LONG_PTR>(&types));
  EXPECT_EQ(types, (std::set<std::string>{"#2", kSoundType}));

  struct Row {
    const char* type_name;
    LPCSTR type;
    std::set<std::string> names;
  };
  std::set<std::string> pictures;
  for (const frame::BitmapEntry& e : cabsound::kBitmaps)
    pictures.insert("#" + std::to_string(e.id));
  const Row kRows[] = {
      {"BITMAP", MAKEINTRESOURCEA(2), pictures},
      {kSoundType, kSoundType, {"SOUND_OUTER", "SOUND_OUTER1", "SOUND_OUTER2", "SOUND_OUTER3"}},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.type_name);
    std::set<std::string> names;
    EnumResourceNamesA(gau_.handle(), row.type, add_name, reinterpret_cast<LONG_PTR>(&names));
    EXPECT_EQ(names, row.names);
  }
}

TEST_F(CabsoundResources, PicturesArePlainBlackTrueColourAtTheManifestsSizes) {
  constexpr uint32_t kInfoHeaderBytes = 40;
  for (const frame::BitmapEntry& e : cabsound::kBitmaps) {
    SCOPED_TRACE(std::string("bitmap ") + e.name + " " + std::to_string(e.id));
    // The gauge draws nothing: no description, 24 bits, so no palette either.
    ASSERT_STREQ(e.description, "");
    ASSERT_EQ(e.depth, 24);
    const auto width = static_cast<uint32_t>(e.width);
    const auto height = static_cast<uint32_t>(e.height);
    const uint32_t row_bytes = 3 * width;
    const uint32_t stride = (row_bytes + 3) / 4 * 4;  // rows are padded to whole dwords
    const std::span<const uint8_t> bytes =
        resource_bytes(gau_.handle(), MAKEINTRESOURCEA(e.id), MAKEINTRESOURCEA(2));
    ASSERT_FALSE(bytes.empty());
    const ByteReader r(bytes);
    ASSERT_EQ(r.size(), kInfoHeaderBytes + stride * height);
    EXPECT_EQ(r.u32(0, "biSize"), kInfoHeaderBytes);
    EXPECT_EQ(r.u32(4, "biWidth"), width);
    EXPECT_EQ(r.u32(8, "biHeight"), height);
    EXPECT_EQ(r.u16(12, "biPlanes"), 1);
    EXPECT_EQ(r.u16(14, "biBitCount"), 24);
    EXPECT_EQ(r.u32(16, "biCompression"), 0u);  // BI_RGB
    EXPECT_EQ(r.u32(32, "biClrUsed"), 0u);
    for (uint32_t y = 0; y < height; ++y) {
      const std::span<const uint8_t> row =
          r.bytes(kInfoHeaderBytes + y * stride, row_bytes, "pixel row");
      EXPECT_TRUE(std::all_of(row.begin(), row.end(), [](uint8_t b) { return b == 0; }))
          << "row " << y;
    }
  }
}

struct Chunk {
  uint64_t offset;  // of the chunk body
  uint32_t size;
};

// The first chunk with `tag` after the RIFF WAVE header.
std::optional<Chunk> find_chunk(const ByteReader& r, const char* tag) {
  for (uint64_t at = 12; r.fits(at, 8);) {
    const uint32_t size = r.u32(at + 4, "chunk size");
    if (r.tag(at, "chunk tag") == tag) return Chunk{at + 8, size};
    at += 8 + uint64_t{size} + (size & 1);  // bodies are padded to even length
  }
  return std::nullopt;
}

TEST_F(CabsoundResources, SoundsArePcmWavesOfTheirFormats) {
  struct Row {
    const char* name;
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    uint32_t data_bytes;
  };
  const Row kRows[] = {
      {"SOUND_OUTER", 1, 22050, 8, 1914},
      {"SOUND_OUTER1", 1, 11025, 16, 32996},
      {"SOUND_OUTER2", 2, 22050, 16, 80764},
      {"SOUND_OUTER3", 1, 22050, 16, 27312},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    const std::span<const uint8_t> bytes = resource_bytes(gau_.handle(), row.name, kSoundType);
    ASSERT_FALSE(bytes.empty());
    const ByteReader r(bytes);
    ASSERT_TRUE(r.fits(0, 12));
    EXPECT_EQ(r.tag(0, "RIFF"), "RIFF");
    EXPECT_EQ(uint64_t{r.u32(4, "RIFF size")} + 8, r.size());
    EXPECT_EQ(r.tag(8, "WAVE"), "WAVE");

    const std::optional<Chunk> fmt = find_chunk(r, "fmt ");
    ASSERT_TRUE(fmt.has_value());
    ASSERT_GE(fmt->size, 16u);
    EXPECT_EQ(r.u16(fmt->offset + 0, "wFormatTag"), 1);  // PCM
    EXPECT_EQ(r.u16(fmt->offset + 2, "nChannels"), row.channels);
    EXPECT_EQ(r.u32(fmt->offset + 4, "nSamplesPerSec"), row.rate);
    const uint32_t block = row.channels * row.bits / 8u;
    EXPECT_EQ(r.u32(fmt->offset + 8, "nAvgBytesPerSec"), row.rate * block);
    EXPECT_EQ(r.u16(fmt->offset + 12, "nBlockAlign"), block);
    EXPECT_EQ(r.u16(fmt->offset + 14, "wBitsPerSample"), row.bits);

    const std::optional<Chunk> data = find_chunk(r, "data");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->size, row.data_bytes);
    EXPECT_TRUE(r.fits(data->offset, data->size)) << "data chunk runs past the resource";
  }
}

}  // namespace
}  // namespace wine_tests
