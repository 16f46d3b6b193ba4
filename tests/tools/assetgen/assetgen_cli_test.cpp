// The command line, driven in process: argument checking, exit statuses,
// and what is (and is not) left at the output path.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "assetgen_test_support.h"
#include "cli.h"
#include "formats/bmp_writer.h"
#include "wav_writer.h"

namespace {

using namespace assetgen_test;
using Args = std::vector<std::string>;

struct Outcome {
  int status;
  std::string err;
};

Outcome run(const Args& args) {
  std::ostringstream err;
  const int status = assetgen::run_assetgen(args, err);
  return {status, err.str()};
}

const std::string kOut = "@OUT@";  // replaced by a path in the scratch dir

Args with_output(Args args, const std::string& out) {
  for (std::string& a : args) {
    if (a == kOut) a = out;
  }
  return args;
}

TEST(AssetgenCli, BadArgumentsExitTwoAndWriteNothing) {
  const struct {
    const char* name;
    Args args;
    const char* message;  // part of the diagnostic
  } cases[] = {
      {"no arguments", {}, "usage:"},
      {"unknown kind", {"png", kOut, "1", "1"}, "unknown kind 'png'"},
      {"bmp without output", {"bmp"}, "needs an output path"},
      {"empty output path", {"bmp", "", "1", "1"}, "needs an output path"},
      {"bmp without height", {"bmp", kOut, "4"}, "WIDTH HEIGHT"},
      {"width zero", {"bmp", kOut, "0", "4"}, "WIDTH must be an integer from 1 to 4096"},
      {"width too big", {"bmp", kOut, "4097", "4"}, "WIDTH"},
      {"height too big", {"bmp", kOut, "4", "99999999999999999999"}, "HEIGHT"},
      {"width not a number", {"bmp", kOut, "abc", "4"}, "got 'abc'"},
      {"negative width", {"bmp", kOut, "-1", "4"}, "WIDTH"},
      {"signed width", {"bmp", kOut, "+3", "4"}, "WIDTH"},
      {"trailing junk", {"bmp", kOut, "3x", "4"}, "WIDTH"},
      {"leading space", {"bmp", kOut, " 3", "4"}, "WIDTH"},
      {"red only", {"bmp", kOut, "3", "4", "255"}, "got 3 arguments"},
      {"red and green only", {"bmp", kOut, "3", "4", "255", "0"}, "got 4 arguments"},
      {"colour too bright", {"bmp", kOut, "3", "4", "256", "0", "0"}, "R must be"},
      {"blue negative", {"bmp", kOut, "3", "4", "0", "0", "-1"}, "B must be"},
      {"green negative zero", {"bmp", kOut, "3", "4", "0", "-0", "0"}, "G must be"},
      {"bmp extra argument", {"bmp", kOut, "3", "4", "1", "2", "3", "4"}, "got 6 arguments"},
      {"unknown option", {"bmp", kOut, "3", "4", "--frob", "x.txt"}, "unknown option '--frob'"},
      {"option on a wav", {"wav", kOut, "1", "8000", "16", "800", "--desc"}, "unknown option"},
      {"wav without data bytes", {"wav", kOut, "1", "22050", "16"}, "got 3 arguments"},
      {"three channels", {"wav", kOut, "3", "22050", "16", "600"}, "CHANNELS must be 1 or 2"},
      {"rate too low", {"wav", kOut, "1", "999", "16", "600"}, "RATE"},
      {"rate too high", {"wav", kOut, "1", "96001", "16", "600"}, "RATE"},
      {"12-bit", {"wav", kOut, "1", "22050", "12", "600"}, "BITS must be 8 or 16"},
      {"partial block", {"wav", kOut, "2", "22050", "16", "80766"}, "multiple of the block"},
      {"odd 16-bit", {"wav", kOut, "1", "22050", "16", "27313"}, "multiple of the block"},
      {"too much data", {"wav", kOut, "1", "22050", "8", "67108865"}, "DATA_BYTES"},
      {"tone above half rate", {"wav", kOut, "1", "8000", "16", "800", "4001"}, "TONE_HZ"},
      {"tone zero", {"wav", kOut, "1", "8000", "16", "800", "0"}, "TONE_HZ"},
      {"wav extra argument", {"wav", kOut, "1", "8000", "16", "800", "440", "1"}, "got 6"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchDir dir;
    const std::string out = dir.file("out");
    const Outcome o = run(with_output(c.args, out));
    EXPECT_EQ(o.status, assetgen::kExitBadArguments);
    EXPECT_EQ(o.err.rfind("assetgen: ", 0), 0u) << o.err;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    ASSERT_FALSE(o.err.empty());
    EXPECT_EQ(o.err.back(), '\n');
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(out + ".tmp"));
  }
}

TEST(AssetgenCli, WritesExactlyWhatTheEncodersProduce) {
  const struct {
    const char* name;
    Args args;
    Bytes expected;
  } cases[] = {
      {"bmp default black", {"bmp", kOut, "29", "3"}, formats::encode_bmp24({29, 3})},
      {"bmp coloured",
       {"bmp", kOut, "2", "2", "10", "20", "30"},
       formats::encode_bmp24({2, 2, {10, 20, 30}})},
      {"wav default tone",
       {"wav", kOut, "1", "22050", "8", "1914"},
       assetgen::encode_tone_wav({{1, 22050, 8}, 1914, 440})},
      {"wav own tone",
       {"wav", kOut, "2", "22050", "16", "80764", "1000"},
       assetgen::encode_tone_wav({{2, 22050, 16}, 80764, 1000})},
      {"leading zeros are still decimal",
       {"bmp", kOut, "010", "01"},
       formats::encode_bmp24({10, 1})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchDir dir;
    const std::string out = dir.file("asset");
    const Outcome o = run(with_output(c.args, out));
    EXPECT_EQ(o.status, assetgen::kExitOk);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(read_file(out), c.expected);
    EXPECT_FALSE(fs::exists(out + ".tmp"));
  }
}

TEST(AssetgenCli, ReplacesAnOlderFileButBadArgumentsLeaveItAlone) {
  const ScratchDir dir;
  const std::string out = dir.file("needle.bmp");
  ASSERT_EQ(run({"bmp", out, "1", "1", "1", "2", "3"}).status, assetgen::kExitOk);
  const Bytes first = read_file(out);

  ASSERT_EQ(run({"bmp", out, "0", "1"}).status, assetgen::kExitBadArguments);
  EXPECT_EQ(read_file(out), first);

  ASSERT_EQ(run({"bmp", out, "2", "1"}).status, assetgen::kExitOk);
  EXPECT_EQ(read_file(out), formats::encode_bmp24({2, 1}));
  EXPECT_FALSE(fs::exists(out + ".tmp"));
}

TEST(AssetgenCli, UnwritableOutputExitsOneWithoutLeftovers) {
  const ScratchDir dir;
  fs::create_directory(dir.file("taken"));
  const struct {
    const char* name;
    std::string out;
  } cases[] = {
      {"missing directory", dir.file("no/such/dir/x.bmp")},
      {"output is a directory", dir.file("taken")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome o = run({"bmp", c.out, "1", "1"});
    EXPECT_EQ(o.status, assetgen::kExitOutputFailed);
    EXPECT_NE(o.err.find("assetgen: cannot write"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(c.out + ".tmp"));
  }
}

}  // namespace
