// The bounds-checked reader every format reader is built on: fields read
// little-endian whatever the machine, and no read past the buffer, however
// large the offset a file claims.
#include "formats/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "formats/byte_writer.h"

namespace {

using formats::ByteRangeError;
using formats::ByteReader;

TEST(ByteReader, ReadsWhatTheWriterWrote) {
  formats::Bytes b;
  formats::put_tag(b, "RIFF");
  formats::put_u32(b, 0xDEADBEEF);
  formats::put_u16(b, 0xFFFE);
  formats::put_i32(b, -40);
  formats::put_u8(b, 'a');
  formats::put_u8(b, 0);
  const ByteReader r(b);
  EXPECT_EQ(r.tag(0, "tag"), "RIFF");
  EXPECT_TRUE(r.has_tag(0, "RIFF"));
  EXPECT_FALSE(r.has_tag(0, "RIFX"));
  EXPECT_EQ(r.u32(4, "u32"), 0xDEADBEEFu);
  EXPECT_EQ(r.u8(4, "u8"), 0xEF);
  EXPECT_EQ(r.u16(8, "u16"), 0xFFFE);
  EXPECT_EQ(r.i16(8, "i16"), -2);
  EXPECT_EQ(r.i32(10, "i32"), -40);
  EXPECT_EQ(r.c_string(14, "name"), "a");
  EXPECT_EQ(r.bytes(4, 2, "two").size(), 2u);
}

TEST(ByteReader, RefusesEveryReadPastTheEndNamingTheField) {
  const std::vector<uint8_t> b{1, 2, 3, 4, 5, 6};
  const ByteReader r(b);
  constexpr uint64_t kFar = std::numeric_limits<uint64_t>::max();
  struct Row {
    const char* name;
    std::function<void()> read;
  };
  const Row kRows[] = {
      {"u8 at the end", [&] { r.u8(6, "biSize"); }},
      {"u16 across the end", [&] { r.u16(5, "biSize"); }},
      {"u32 across the end", [&] { r.u32(3, "biSize"); }},
      {"i32 far away", [&] { r.i32(kFar, "biSize"); }},
      {"bytes whose length wraps", [&] { r.bytes(2, kFar, "biSize"); }},
      {"tag across the end", [&] { r.tag(4, "biSize"); }},
      {"string without its NUL", [&] { r.c_string(0, "biSize"); }},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    try {
      row.read();
      ADD_FAILURE() << "read past the end";
    } catch (const ByteRangeError& e) {
      EXPECT_NE(std::string(e.what()).find("biSize"), std::string::npos) << e.what();
    }
  }
  EXPECT_FALSE(r.has_tag(4, "RIFF"));
  EXPECT_TRUE(r.fits(6, 0));
  EXPECT_FALSE(r.fits(7, 0));
}

}  // namespace
