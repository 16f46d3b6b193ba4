// Mistakes in drawing descriptions: each one names the file and line, and
// through the command line exits 2 without writing the output.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
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

struct ErrorCase {
  const char* name;
  std::string source;
  int line;
  const char* message;  // part of the text after "d.txt:LINE: "
};

std::string describe_error(const std::string& source) {
  Image image(8, 8);
  try {
    assetgen::draw_description(image, source, "d.txt");
  } catch (const assetgen::DescriptionError& e) {
    return e.what();
  }
  return "<no error>";
}

TEST(AssetgenDescErrors, NameTheFileAndLine) {
  const ErrorCase cases[] = {
      {"unknown command", "fill 1 2 3\n\nblur 2\n", 3, "unknown command 'blur'"},
      {"a rectangle's outline is rect_outline", "frame 0 0 4 4 1 #ffffff", 1,
       "unknown command 'frame' (expected fill, rect, rect_outline,"},
      {"command names are case sensitive", "Fill 1 2 3", 1, "unknown command 'Fill'"},
      {"comments and CRLF lines count", "# a\r\n\r\nfill 1 2 3\r\nnope\r\n", 4, "'nope'"},
      {"last line without newline", "fill 1 2 3\nnope", 2, "'nope'"},
      {"missing colour", "rect 0 0 4 4", 1, "missing COLOUR: the command is rect X Y W H COLOUR"},
      {"missing blue", "fill 1 2", 1, "missing B"},
      {"missing height", "rect 0 0 4", 1, "missing H"},
      {"channel above 255", "fill 256 0 0", 1, "R must be an integer from 0 to 255, got '256'"},
      {"negative channel", "fill 0 -1 0", 1, "G must be"},
      {"minus zero channel", "fill 0 0 -0", 1, "B must be"},
      {"channel with sign", "fill +1 0 0", 1, "R must be"},
      {"short hex colour", "fill #12345", 1, "a # colour must be # and six hex digits"},
      {"long hex colour", "fill #1234567", 1, "got '#1234567'"},
      {"hex colour with non-digit", "fill #12345g", 1, "six hex digits"},
      {"trailing comment", "rect 0 0 1 1 #ffffff # red", 1,
       "unexpected '#' after rect X Y W H COLOUR (comments go on a line of their own)"},
      {"fourth channel", "fill 1 2 3 4", 1, "unexpected '4'"},
      {"negative width", "rect 0 0 -1 1 #ffffff", 1, "W must be an integer from 0 to 8192"},
      {"x too far", "rect 8193 0 1 1 #ffffff", 1, "X must be an integer from -8192 to 8192"},
      {"y too far", "rect 0 -8193 1 1 #ffffff", 1, "Y must be"},
      {"x not a number", "rect a 0 1 1 #ffffff", 1, "got 'a'"},
      {"x with unit", "rect 3px 0 1 1 #ffffff", 1, "got '3px'"},
      {"zero thickness", "rect_outline 0 0 4 4 0 #ffffff", 1,
       "THICKNESS must be an integer from 1"},
      {"radius too big for the height", "round_rect 0 0 6 4 2 #ffffff", 1,
       "RADIUS must be an integer from 0 to 1, got '2'"},
      {"radius on an empty rectangle", "round_rect 0 0 0 4 1 #ffffff", 1,
       "RADIUS must be an integer from 0 to 0"},
      {"text without string", "text 0 0 #ffffff", 1, "missing STRING"},
      {"text with blanks only", "text 0 0 #ffffff  \t ", 1, "missing STRING"},
      {"centred text without colour", "text_center 4 0", 1,
       "missing COLOUR: the command is text_center CX Y COLOUR STRING..."},
      {"lower case", "text 0 0 #ffffff Pull", 1, "no character 'u' (the font is upper case only)"},
      {"unknown punctuation", "text 0 0 1 2 3 A+B", 1, "no character '+'"},
      {"tab inside text", "text 0 0 #ffffff A\tB", 1, "no character code 9"},
      {"non-ASCII text", "text 0 0 #ffffff \xc3\x84", 1, "no character code 195"},
      {"overlong text", "text 0 0 #ffffff " + std::string(1001, 'A'), 1,
       "longer than 1000 characters"},
      {"scale zero", "scale 0", 1, "N must be an integer from 1 to 16"},
      {"scale 17", "scale 17", 1, "N must be"},
      {"scale extra", "scale 2 3", 1, "unexpected '3' after scale N"},
      {"first error wins", "fill 1 2 3\nrect\nnope", 2, "missing X"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string what = describe_error(c.source);
    const std::string prefix = "d.txt:" + std::to_string(c.line) + ": ";
    EXPECT_EQ(what.rfind(prefix, 0), 0u) << what;
    EXPECT_NE(what.find(c.message), std::string::npos) << what;
  }
}

TEST(AssetgenDescErrors, LongestTextThatFitsTheLimitIsAccepted) {
  Image image(8, 8);
  EXPECT_NO_THROW(
      assetgen::draw_description(image, "text 0 0 #ffffff " + std::string(1000, 'A'), "d.txt"));
}

// The command line with --desc, run in process.
struct Outcome {
  int status;
  std::string err;
};

Outcome run(const std::vector<std::string>& args) {
  std::ostringstream err;
  const int status = assetgen::run_assetgen(args, err);
  return {status, err.str()};
}

void write_text(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(AssetgenDescCli, DrawsTheDescribedPicture) {
  const ScratchDir dir;
  const std::string desc = dir.file("swatch.txt");
  write_text(desc, "fill 10 20 30\nrect 1 0 1 1 #ffffff\n");
  const std::string out = dir.file("swatch.bmp");
  const Outcome o = run({"bmp", out, "3", "2", "--desc", desc});
  EXPECT_EQ(o.status, assetgen::kExitOk);
  EXPECT_EQ(o.err, "");
  Image want(3, 2, {10, 20, 30});
  want.set(1, 0, {255, 255, 255});
  EXPECT_EQ(read_file(out), formats::encode_bmp24(want));
}

TEST(AssetgenDescCli, BadDescriptionsExitTwoAndWriteNothing) {
  const ScratchDir dir;
  const std::string bad = dir.file("bad.txt");
  write_text(bad, "fill 1 2 3\n# next line is wrong\nrect 0 0 1\n");
  const std::string good = dir.file("good.txt");
  write_text(good, "fill 1 2 3\n");
  fs::create_directory(dir.file("folder"));
  const struct {
    const char* name;
    std::vector<std::string> args;  // after "bmp OUT"
    std::string message;            // the whole diagnostic when exact, else a part
    bool exact;
  } cases[] = {
      {"error in the description",
       {"4", "4", "--desc", bad},
       "assetgen: " + bad + ":3: missing H: the command is rect X Y W H COLOUR\n",
       true},
      {"missing file", {"4", "4", "--desc", dir.file("none.txt")}, "cannot read '", false},
      {"directory instead of a file",
       {"4", "4", "--desc", dir.file("folder")},
       "cannot read",
       false},
      {"no file after --desc", {"4", "4", "--desc"}, "WIDTH HEIGHT --desc FILE", false},
      {"empty file name", {"4", "4", "--desc", ""}, "WIDTH HEIGHT --desc FILE", false},
      {"extra argument", {"4", "4", "--desc", good, "x"}, "WIDTH HEIGHT --desc FILE", false},
      {"colour and description",
       {"4", "4", "1", "2", "3", "--desc", good},
       "unknown option",
       false},
      {"option as file name", {"4", "4", "--desc", "--frob"}, "unknown option '--frob'", false},
      {"size still checked", {"0", "4", "--desc", good}, "WIDTH must be", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = dir.file("out.bmp");
    std::vector<std::string> args{"bmp", out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome o = run(args);
    EXPECT_EQ(o.status, assetgen::kExitBadArguments);
    if (c.exact) {
      EXPECT_EQ(o.err, c.message);
    } else {
      EXPECT_EQ(o.err.rfind("assetgen: ", 0), 0u) << o.err;
      EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(out + ".tmp"));
  }
}

TEST(AssetgenDescCli, BadDescriptionLeavesAnOlderOutputAlone) {
  const ScratchDir dir;
  const std::string desc = dir.file("d.txt");
  const std::string out = dir.file("out.bmp");
  write_text(desc, "fill 9 9 9\n");
  ASSERT_EQ(run({"bmp", out, "2", "2", "--desc", desc}).status, assetgen::kExitOk);
  const Bytes first = read_file(out);
  write_text(desc, "fill 9 9 9\nrect\n");
  EXPECT_EQ(run({"bmp", out, "2", "2", "--desc", desc}).status, assetgen::kExitBadArguments);
  EXPECT_EQ(read_file(out), first);
}

}  // namespace
