// gaugehost's command line as a user meets it: --help and --version on
// standard output with exit 0, a mistake named with a pointer to --help and
// exit 2, and each option reaching the flight or the envelope map.
#include "host/gaugehost_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome gaugehost(const Words& args) {
  std::ostringstream out, err;
  const int status = host::run_gaugehost(args, MODULE_DIR, out, err);
  return {status, out.str(), err.str()};
}

std::string joined(const Words& words) {
  std::string line = "gaugehost";
  for (const std::string& w : words) line += " " + w;
  return line;
}

std::string file_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(GaugehostCli, HelpListsEveryCommandAndOption) {
  const struct {
    Words args;
    std::vector<const char*> shows;
  } kRows[] = {
      {{"--help"}, {"Usage: gaugehost [OPTIONS] SUBCOMMAND", "fly", "envelope", "--version"}},
      {{"-h"}, {"Usage: gaugehost [OPTIONS] SUBCOMMAND"}},
      {{"fly", "--help"},
       {"Usage: gaugehost fly [OPTIONS] FLIGHT", "--modules DIR", "--root DIR", "--log FILE",
        "--summary", "--audio FILE", "--pictures DIR", "--report FILE.html", "--own-copies",
        "--long-flight", "--loader native|emulated", "--check-writes", "--count-instructions"}},
      {{"fly", "approach.flight", "--summary", "--help"}, {"Usage: gaugehost fly"}},
      {{"envelope", "--help"},
       {"Usage: gaugehost envelope [OPTIONS] OUT.png", "--modules DIR", "--root DIR", "--grid N",
        "--coarse", "--loader native|emulated", "--check-writes"}},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(joined(row.args));
    const Outcome r = gaugehost(row.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* text : row.shows) EXPECT_NE(r.out.find(text), std::string::npos) << text;
  }
}

TEST(GaugehostCli, VersionSaysWhichBuild) {
  const std::string commit = GAUGES_COMMIT;
  const Outcome r = gaugehost({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, std::string("gaugehost ") + GAUGES_VERSION + " (" +
                       (commit.empty() ? "" : "commit " + commit + ", ") + "native build)\n");
}

TEST(GaugehostCli, MistakesAreNamedWithAPointerToHelp) {
  const struct {
    Words args;
    const char* says;
    const char* help;  // the help to look at
  } kRows[] = {
      {{}, "gaugehost: A subcommand is required", "gaugehost"},
      {{"--bogus"}, "gaugehost: The following argument was not expected: --bogus", "gaugehost"},
      {{"land"}, "not expected: land", "gaugehost"},
      {{"fly"}, "gaugehost fly: FLIGHT is required", "gaugehost fly"},
      {{"fly", "--bogus"}, "not expected: --bogus", "gaugehost fly"},
      {{"fly", "a.flight", "--summary", "--bogus"}, "not expected: --bogus", "gaugehost fly"},
      {{"fly", "a.flight", "b.flight"}, "not expected: b.flight", "gaugehost fly"},
      {{"fly", "a.flight", "--root"}, "--root: 1 required DIR missing", "gaugehost fly"},
      {{"fly", "a.flight", "--grid", "3"},
       "arguments were not expected: --grid 3",
       "gaugehost fly"},
      {{"envelope"}, "gaugehost envelope: OUT.png is required", "gaugehost envelope"},
      {{"envelope", "--coarse"}, "OUT.png is required", "gaugehost envelope"},
      {{"envelope", "out.png", "--fine"}, "not expected: --fine", "gaugehost envelope"},
      {{"envelope", "out.png", "--summary"}, "not expected: --summary", "gaugehost envelope"},
      {{"envelope", "out.png", "--root"}, "--root: 1 required DIR missing", "gaugehost envelope"},
      {{"envelope", "out.png", "--grid"}, "--grid", "gaugehost envelope"},
      {{"envelope", "out.png", "--grid", "1"},
       "--grid: wants a whole number from 2 to 200",
       "gaugehost envelope"},
      {{"envelope", "out.png", "--grid", "201"}, "--grid: wants", "gaugehost envelope"},
      {{"envelope", "out.png", "--grid", "many"}, "--grid: wants", "gaugehost envelope"},
      {{"envelope", "out.png", "--grid", "20x"}, "--grid: wants", "gaugehost envelope"},
      {{"fly", "--version"}, "not expected: --version", "gaugehost fly"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(joined(row.args));
    const Outcome r = gaugehost(row.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(row.says), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Run '" + std::string(row.help) + " --help' for more information.\n"),
              std::string::npos)
        << r.err;
  }
  EXPECT_FALSE(fs::exists("out.png"));
}

class GaugehostFly : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) / "gaugehost_cli";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  const std::string flight_ = std::string(SCENARIO_DIR) + "/cabsound.flight";
  fs::path dir_;
};

TEST_F(GaugehostFly, EachOptionReachesTheFlight) {
  const std::string log = (dir_ / "flight.log").string();
  const std::string track = (dir_ / "flight.wav").string();
  const std::string& flight = flight_;
  const Outcome plain = gaugehost({"fly", flight, "--root", SIM_ROOT});
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_NE(plain.out.find("sound play h=1 \"Sound\\zel-sound1.wav\""), std::string::npos)
      << plain.out;
  const struct {
    Words args;
    int status;
    bool log_on_out;  // the event log on standard output
    bool log_in_file;
    const char* out_has;
    const char* err_has;
  } kRows[] = {
      {{"fly", flight, "--root", SIM_ROOT, "--log", log}, 0, false, true, "", ""},
      {{"fly", "--root", SIM_ROOT, "--log", log, flight}, 0, false, true, "", ""},
      {{"fly", flight, "--root=" SIM_ROOT, "--log=" + log}, 0, false, true, "", ""},
      {{"fly", flight, "--root", SIM_ROOT, "--log", "/nonexistent/a.log", "--log", log},
       0,
       false,
       true,
       "",
       ""},
      {{"fly", flight, "--root", SIM_ROOT, "--log", "/dev/null"}, 0, false, false, "", ""},
      {{"fly", flight, "--root", SIM_ROOT, "--log", log, "--summary"},
       0,
       false,
       true,
       "s  voice  Sound\\zel-sound1.wav\n",
       ""},
      {{"fly", flight, "--root", SIM_ROOT, "--own-copies"}, 0, true, false, "", ""},
      {{"fly", flight, "--root", SIM_ROOT, "--log", log, "--audio", track}, 0, false, true, "", ""},
      {{"fly", flight, "--root", SIM_ROOT, "--modules", "/nonexistent"},
       1,
       false,
       false,
       "",
       "cannot load /nonexistent/cabsound.so"},
      {{"fly", flight, "--root", "/nonexistent"}, 1, true, false, "", "5 of 6 expectations met"},
      {{"fly", flight, "--root", "/nonexistent", "--root", SIM_ROOT}, 0, true, false, "", ""},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(joined(row.args));
    fs::remove(log);
    const Outcome r = gaugehost(row.args);
    EXPECT_EQ(r.status, row.status) << r.err;
    EXPECT_EQ(r.out.rfind("000000 module cabsound loaded\n", 0) == 0, row.log_on_out) << r.out;
    EXPECT_EQ(fs::exists(log), row.log_in_file);
    if (row.log_in_file) {
      EXPECT_EQ(file_text(log), plain.out);
    }
    EXPECT_NE(r.out.find(row.out_has), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(row.err_has), std::string::npos) << r.err;
  }
  EXPECT_GT(fs::file_size(track), 44u) << "a WAV header and samples";
}

TEST_F(GaugehostFly, AFlightLongerThanAWeekIsFlownOnlyWhenAskedFor) {
  // At a tenth of a frame per second a week is 60480 frames.
  const struct {
    const char* name;
    const char* text;
    bool asked;
    int status;
    const char* err_has;
  } kRows[] = {
      {"just under a week", "rate 0.1\nstart\nframes 60000\n", false, 0, ""},
      {"past it by frames", "rate 0.1\nstart\nframes 30000\nframes 31000\nframes 5\n", false, 1,
       "long.flight:4: the flight lasts 169 h 27 min, longer than a simulated week; "
       "--long-flight flies it\n"},
      {"past it, asked for", "rate 0.1\nstart\nframes 30000\nframes 31000\n", true, 0, ""},
      {"past it by a time", "start\nat 604801\n", false, 1, "long.flight:2: the flight lasts"},
      {"past it by waits", "start\nwait 400000\nat 100\nwait 300000\n", false, 1,
       "long.flight:4: the flight lasts 194 h 26 min"},
  };
  const std::string path = (dir_ / "long.flight").string();
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << row.text;
    Words args = {"fly", path, "--log", (dir_ / "long.log").string()};
    if (row.asked) args.push_back("--long-flight");
    const Outcome r = gaugehost(args);
    EXPECT_EQ(r.status, row.status) << r.err;
    EXPECT_NE(r.err.find(row.err_has), std::string::npos) << r.err;
    // Not a terminal: no progress line, however long it took.
    EXPECT_EQ(r.err.find('\r'), std::string::npos);
  }
}

}  // namespace

namespace {

// The emulated loader's checks asked of modules the native loader flies:
// refused with one line before anything flies or is written.
TEST_F(GaugehostFly, EmulatedChecksAreRefusedForNativeModules) {
  const std::string png = (dir_ / "envelope.png").string();
  const struct {
    Words args;
    const char* says;
  } kRows[] = {
      {{"fly", flight_, "--root", SIM_ROOT, "--check-writes"},
       "gaugehost: --check-writes: only the emulated loader checks writes"},
      {{"fly", flight_, "--root", SIM_ROOT, "--loader", "native", "--count-instructions"},
       "gaugehost: --count-instructions: only the emulated loader counts instructions"},
      {{"envelope", png, "--root", SIM_ROOT, "--coarse", "--check-writes"},
       "gaugehost: envelope: --check-writes: only the emulated loader"},
      {{"serve", "--root", SIM_ROOT, "--port", "0", "--check-writes"},
       "gaugehost: --check-writes: only the emulated loader"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(joined(row.args));
    const Outcome r = gaugehost(row.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(row.says, 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
  EXPECT_FALSE(fs::exists(png));
}

}  // namespace
