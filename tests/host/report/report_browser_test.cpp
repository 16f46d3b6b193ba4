// The report page as a browser sees it: gaugehost writes the approach's
// report, headless Chromium reads it back (the DOM after parsing) and takes a
// screenshot, which stays in the build folder to look at.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kOut = BROWSER_OUT;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

bool have_chromium() {
  return std::system("command -v chromium >/dev/null 2>&1") == 0;
}

// Headless, without a sandbox (CI runs as root) and with a profile of its
// own, so nothing of a user's browser is read or changed.
int chromium(const std::string& what) {
  const std::string command =
      "timeout 60 chromium --headless --no-sandbox --disable-gpu "
      "--no-first-run --user-data-dir=" +
      quoted(kOut / "profile") + " " + what + " 2>" + quoted(kOut / "chromium.err");
  return std::system(command.c_str());
}

uint32_t big_endian(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

TEST(ReportInBrowser, ShowsThePlotAndTheSnapshots) {
  if (!have_chromium()) {
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::string(ci) == "true") {
      FAIL() << "chromium is missing (tools/install-deps.sh installs it)";
    }
    GTEST_SKIP() << "chromium is not installed: the report is not checked in a browser";
  }
  fs::remove_all(kOut);
  fs::create_directories(kOut);
  const fs::path page = kOut / "approach.html";
  const std::string fly = std::string("'") + GAUGEHOST +
                          "' fly '" SCENARIO_DIR "/approach.flight' --root '" SIM_ROOT "' --log " +
                          quoted(kOut / "approach.log") + " --report " + quoted(page);
  ASSERT_EQ(std::system(fly.c_str()), 0) << fly;
  ASSERT_TRUE(fs::exists(page));
  const std::string url = "file://" + page.string();

  ASSERT_EQ(chromium("--dump-dom '" + url + "' >" + quoted(kOut / "dom.html")), 0)
      << read_file(kOut / "chromium.err");
  const std::string dom = read_file(kOut / "dom.html");
  struct Part {
    const char* what;
    std::string text;
    size_t at_least;
  };
  const Part parts[] = {
      {"the plot", "id=\"timeline\"", 1},
      {"the plot drawn", "<canvas", 2},
      {"its axes", "dygraph-axis-label-x", 5},
      {"snapshots", "<img class=\"panel\" data-picture=\"", 5},
      {"snapshots filled in", "alt=\"the panel at", 5},
      {"their pictures", "src=\"data:image/png;base64,", 5},
      {"the sound player", "<audio id=\"track\"", 1},
      {"the expectations", "<span class=\"met\">met</span>", 13},
  };
  for (const Part& p : parts) {
    SCOPED_TRACE(p.what);
    EXPECT_GE(count(dom, p.text), p.at_least);
  }

  const fs::path shot = kOut / "approach.png";
  ASSERT_EQ(chromium("--screenshot=" + quoted(shot) + " --window-size=1200,1600 '" + url + "'"), 0)
      << read_file(kOut / "chromium.err");
  const std::string png = read_file(shot);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(big_endian(png, 16), 1200u);
  EXPECT_EQ(big_endian(png, 20), 1600u);
  // A blank page compresses to almost nothing; the plot and the panels do not.
  EXPECT_GT(png.size(), 40000u);
  fs::remove_all(kOut / "profile");
}

}  // namespace
