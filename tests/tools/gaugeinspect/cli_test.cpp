// gaugeinspect's command line: the shape of the text and JSON reports, the
// check's "ok" and its lines, and clear errors for files it cannot read.
#include "tools/gaugeinspect/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

#include "tests/tools/gaugeinspect/golden_match.h"
#include "tests/tools/gaugeinspect/module_builder.h"

namespace inspect_tests {
namespace {

namespace fs = std::filesystem;

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

CliResult run(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = gaugeinspect::run_cli(args, out, err);
  return {status, out.str(), err.str()};
}

class CliTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) /
           ("gaugeinspect_cli_" +
            std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const Bytes& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return p.string();
  }

  fs::path dir_;
};

TEST_F(CliTest, RefusesAWrongCommandLine) {
  const struct {
    std::vector<std::string> args;
    const char* says;
  } kRows[] = {
      {{}, "FILE is required"},
      {{"--json"}, "FILE is required"},
      {{"--check"}, "FILE is required"},
      {{"--bogus", "x.gau"}, "The following argument was not expected: --bogus"},
      {{"x.gau", "-x"}, "The following argument was not expected: -x"},
      {{"--json", "a.gau", "b.gau"}, "one FILE at a time, or several with --check"},
      {{"a.gau", "b.gau"}, "one FILE at a time, or several with --check"},
      {{"--json", "--check", "a.gau"}, "--json or --check, not both"},
  };
  for (const auto& row : kRows) {
    std::string line;
    for (const auto& a : row.args) line += a + " ";
    SCOPED_TRACE("arguments: " + line);
    const CliResult r = run(row.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "gaugeinspect: " + std::string(row.says) +
                         "\nRun 'gaugeinspect --help' for more information.\n");
  }
}

TEST_F(CliTest, HelpAndVersionGoToStandardOutput) {
  const struct {
    std::vector<std::string> args;
    std::vector<const char*> shows;
  } kRows[] = {
      {{"--help"}, {"Usage: gaugeinspect [OPTIONS] FILE...", "--json", "--check", "--version"}},
      {{"-h"}, {"Usage: gaugeinspect [OPTIONS] FILE..."}},
      {{"--check", "a.gau", "--help"}, {"Usage: gaugeinspect [OPTIONS] FILE..."}},
      {{"--version"}, {"gaugeinspect "}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.args.front());
    const CliResult r = run(row.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* text : row.shows) EXPECT_NE(r.out.find(text), std::string::npos) << text;
  }
  EXPECT_TRUE(std::regex_match(
      run({"--version"}).out,
      std::regex("gaugeinspect [0-9]+\\.[0-9]+\\.[0-9]+ \\((commit [0-9a-f]{12}, )?native "
                 "build\\)\n")));
}

TEST_F(CliTest, OptionsMayFollowTheFiles) {
  const std::string path = write("sample.gau", build_module(sample_module()).file);
  EXPECT_EQ(run({path, "--check"}).out, "ok\n");
  EXPECT_EQ(run({"--json", path}).out, run({path, "--json"}).out);
  EXPECT_EQ(run({"--", path}).out, run({path}).out);
}

TEST_F(CliTest, TextReportShowsEveryPart) {
  const std::string path = write("sample.gau", build_module(sample_module()).file);
  const CliResult r = run({path});
  ASSERT_EQ(r.status, 0) << r.err;
  const char* const kLines[] = {
      "PE32 i386, image base 0x10000000",
      "  #1 ImportTable rva ",
      "  #2 Linkage rva ",
      "  FSSound.dll: #1, #7, #13, #14",
      "  KERNEL32.dll: Sleep",
      "ImportTable at 0x00002000: id 15, services null",
      ": id 19, init 0x00001010, deinit 0x00001010, 2 gauge(s)",
      "gauge 'test' at ",
      ": version 700, default size 38 mm, callback present, 7 of 7 routines",
      ": bitmap 4097 at (6,6) flags 0x40000007 [transparent save_background no_dim hidden] "
      "source token 0 icon word 2",
      ": bitmap 4099 at (23,23) pivot (2,8) flags 0x00000003 [transparent save_background] "
      "failure list ",
      " source token 73 callback present, table ",
      "        (43,23) 15.24\n",
      "    child (0,0,46,46) cursor 5 flags 0x20000000 routine present\n",
      "gauge 'below' at ",
      "    parent\n    end_of_parent\n    end_of_list\n",
      ": 20 2 0 0 0 0, used by test/2, test/3\n",
      "  SOUND SOUND_OUTER language 1033, 144 bytes: WAVE format 1, 1 channel(s), 22050 Hz, "
      "8-bit, 100 data bytes\n",
      "  BITMAP 4099 language 1033, 1404 bytes: 20x17 8-bit, compression 0, palette 256\n",
      "errors: none\n",
  };
  for (const char* line : kLines) {
    SCOPED_TRACE(line);
    EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
  }
}

TEST_F(CliTest, JsonReportHasItsShape) {
  const std::string path = write("sample.gau", build_module(sample_module()).file);
  const CliResult r = run({"--json", path});
  ASSERT_EQ(r.status, 0) << r.err;
  const gaugeinspect::Json doc = parse_json(r.out);
  std::vector<std::string> keys;
  for (const auto& [k, v] : doc.items()) keys.push_back(k);
  EXPECT_EQ(keys, (std::vector<std::string>{"machine", "image_base", "relocations", "sections",
                                            "exports", "imports", "import_table", "linkage",
                                            "gauges", "failure_lists", "resources", "errors"}));
  const gaugeinspect::Json& gauges = *member(doc, "gauges");
  ASSERT_EQ(gauges.size(), 2u);
  struct Row {
    const char* path;
    std::function<const gaugeinspect::Json*()> get;
    std::string expected;  // the value's JSON text
  };
  const auto elem = [&](size_t i) { return &(*member(gauges[0], "elements"))[i]; };
  const Row kRows[] = {
      {"gauge name", [&] { return member(gauges[0], "name"); }, "\"test\""},
      {"element 1 flags", [&] { return member(*elem(1), "flags"); }, "1073741831"},
      {"element 1 flag names", [&] { return member(*elem(1), "flag_names"); },
       "[\"transparent\", \"save_background\", \"no_dim\", \"hidden\"]"},
      {"element 1 hidden", [&] { return member(*elem(1), "hidden"); }, "true"},
      {"element 0 failure list", [&] { return member(*elem(0), "failure_list"); }, "null"},
      {"needle table entry", [&] { return &(*member(*elem(3), "table_entries"))[1]; },
       "{\"x\": 43, \"y\": 23, \"value\": 15.24}"},
      {"mouse child cursor", [&] { return member((*member(gauges[0], "mouse"))[1], "cursor"); },
       "5"},
      {"mouse parent cursor", [&] { return member((*member(gauges[0], "mouse"))[0], "cursor"); },
       "-1"},
      {"no errors", [&] { return member(doc, "errors"); }, "[]"},
  };
  EXPECT_TRUE(member(*elem(3), "callback")->is_number());  // an RVA
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.path);
    const gaugeinspect::Json* value = row.get();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(gaugeinspect::json_text(*value), row.expected + "\n");
  }
}

TEST_F(CliTest, CheckSaysOkOrListsViolationsByFile) {
  const std::string good = write("good.gau", build_module(sample_module()).file);
  BuiltModule broken = build_module(sample_module());
  broken.set_u32(broken.linkage, 18);
  const std::string bad = write("bad.gau", broken.file);

  CliResult r = run({"--check", good});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "ok\n");

  r = run({"--check", bad});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, bad + ": Linkage identifier 18, expected 19\n");

  r = run({"--check", good, bad});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, good + ": ok\n" + bad + ": Linkage identifier 18, expected 19\n");
}

TEST_F(CliTest, UnreadableFilesGetAClearErrorAndNoReport) {
  const Bytes whole = build_module(sample_module()).file;
  const std::string missing = (dir_ / "missing.gau").string();
  const std::string half = write("half.gau", Bytes(whole.begin(), whole.begin() + 0x300));
  const std::string text = write("text.gau", Bytes{'h', 'e', 'l', 'l', 'o'});
  const std::string huge = (dir_ / "huge.gau").string();
  std::ofstream(huge).put('x');
  fs::resize_file(huge, gaugeinspect::kMaxFileBytes + 1);  // sparse: no disk used
  struct Row {
    const char* name;
    std::string path;
    const char* error;
  };
  const Row kRows[] = {
      {"missing", missing, "cannot open"},
      {"a directory", dir_.string(), "cannot open"},
      {"cut inside the tables", half, "lie outside the 768-byte buffer"},
      {"not a PE file", text, "DOS header: no MZ signature"},
      {"larger than any module", huge, "bytes is more than a gauge module holds"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    CliResult r = run({row.path});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(row.error), std::string::npos) << r.err;
    r = run({"--check", row.path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind(row.path + ": ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(row.error), std::string::npos) << r.out;
  }
}

}  // namespace
}  // namespace inspect_tests
