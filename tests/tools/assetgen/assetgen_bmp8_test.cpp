// --bpp on the command line: which depth assetgen writes, and the depths it
// refuses. (The 8-bit bytes are checked in tests/formats/bmp_writer_test.cpp.)
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen_test_support.h"
#include "cli.h"
#include "desc.h"
#include "formats/bmp_writer.h"
#include "image.h"

namespace {

using namespace assetgen_test;
using assetgen::Image;
using assetgen::Rgb;

struct Outcome {
  int status;
  std::string err;
};

Outcome run(const std::vector<std::string>& args) {
  std::ostringstream err;
  const int status = assetgen::run_assetgen(args, err);
  return {status, err.str()};
}

TEST(AssetgenBmp8, BppOptionChoosesTheDepth) {
  const ScratchDir dir;
  const std::string desc = dir.file("d.txt");
  std::ofstream(desc, std::ios::binary) << "fill 10 20 30\nrect 1 0 1 1 #ffffff\n";
  Image drawn(3, 2);
  assetgen::draw_description(drawn, assetgen::read_description_file(desc), desc);
  const struct {
    const char* name;
    std::vector<std::string> args;  // after "bmp OUT"
    Bytes want;
  } cases[] = {
      {"after the description",
       {"3", "2", "--desc", desc, "--bpp", "8"},
       formats::encode_bmp8(drawn)},
      {"before it", {"3", "2", "--bpp", "8", "--desc", desc}, formats::encode_bmp8(drawn)},
      {"24 spelled out", {"3", "2", "--desc", desc, "--bpp", "24"}, formats::encode_bmp24(drawn)},
      {"plain colour",
       {"2", "1", "1", "2", "3", "--bpp", "8"},
       formats::encode_bmp8({2, 1, {1, 2, 3}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = dir.file("out.bmp");
    std::vector<std::string> args{"bmp", out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome o = run(args);
    EXPECT_EQ(o.status, assetgen::kExitOk) << o.err;
    EXPECT_EQ(read_file(out), c.want);
  }
}

TEST(AssetgenBmp8, BadDepthsExitTwoAndWriteNothing) {
  const ScratchDir dir;
  const std::string many = dir.file("many.txt");
  {
    std::ofstream text(many, std::ios::binary);
    for (int i = 0; i < 300; ++i) {
      text << "rect " << i % 20 << " " << i / 20 << " 1 1 " << i % 256 << " " << i / 256 << " 9\n";
    }
  }
  const struct {
    const char* name;
    std::vector<std::string> args;  // KIND OUT left out
    const char* message;
    const char* kind = "bmp";
  } cases[] = {
      {"16 bits", {"2", "2", "--bpp", "16"}, "BPP must be 8 or 24, got '16'"},
      {"no value", {"2", "2", "--bpp"}, "--bpp needs 8 or 24 after it"},
      {"twice", {"2", "2", "--bpp", "8", "--bpp", "8"}, "--bpp given twice"},
      {"too many colours", {"20", "15", "--desc", many, "--bpp", "8"}, "more than 256 colours"},
      {"on a wav", {"1", "8000", "8", "100", "--bpp", "8"}, "unknown option '--bpp'", "wav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = dir.file("out.bmp");
    std::vector<std::string> args{c.kind, out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome o = run(args);
    EXPECT_EQ(o.status, assetgen::kExitBadArguments);
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(out));
  }
}

}  // namespace
