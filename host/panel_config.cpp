#include "host/panel_config.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "host/host_error.h"

namespace host {
namespace {

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::stringstream in(s);
  for (std::string part; std::getline(in, part, sep);) parts.push_back(trim(part));
  return parts;
}

// "window07" -> 7; -1 when the text is not prefix + two or more digits.
int numbered(const std::string& key, const std::string& prefix) {
  if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) return -1;
  int n = 0;
  const char* begin = key.data() + prefix.size();
  auto [end, error] = std::from_chars(begin, key.data() + key.size(), n);
  return error == std::errc() && end == key.data() + key.size() && n >= 0 ? n : -1;
}

struct Parser {
  std::string file;
  int line = 0;
  [[noreturn]] void fail(const std::string& what) const {
    throw HostError(file + ":" + std::to_string(line) + ": " + what);
  }
  int32_t number(const std::string& text, const char* what) const {
    int32_t v = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
      fail(std::string(what) + " '" + text + "' is not a whole number");
    }
    return v;
  }
};

struct RawWindow {
  bool seen = false;
  int size_line = 0;
  PanelWindow window;
  std::map<int, PanelGauge> gauges;
};

PanelGauge read_gauge(const Parser& p, const std::string& value) {
  std::vector<std::string> parts = split(value, ',');
  if (parts.size() < 3 || parts.size() > 5) {
    p.fail("a gauge line is module!gauge, x, y[, w[, h]]");
  }
  size_t bang = parts[0].find('!');
  if (bang == std::string::npos || bang == 0 || bang + 1 == parts[0].size()) {
    p.fail("'" + parts[0] + "' is not module!gauge");
  }
  PanelGauge g;
  g.where = p.file + ":" + std::to_string(p.line);
  g.module = parts[0].substr(0, bang);
  g.gauge = parts[0].substr(bang + 1);
  g.x = p.number(parts[1], "x");
  g.y = p.number(parts[2], "y");
  if (parts.size() > 3) g.width = p.number(parts[3], "width");
  if (parts.size() > 4) g.height = p.number(parts[4], "height");
  if (g.width < 0 || g.height < 0) p.fail("a gauge's size cannot be negative");
  return g;
}

}  // namespace

std::vector<PanelGauge> PanelConfig::gauges() const {
  std::vector<PanelGauge> all;
  for (const PanelWindow& w : windows) all.insert(all.end(), w.gauges.begin(), w.gauges.end());
  return all;
}

PanelConfig parse_panel(const std::string& text, const std::string& file_name) {
  Parser p{file_name};
  std::map<int, std::string> titles;
  std::map<int, RawWindow> raw;
  std::string section;
  int window = -1;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    ++p.line;
    if (auto c = line.find("//"); c != std::string::npos) line.erase(c);
    line = trim(line);
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']') p.fail("a section name ends with ']'");
      section = lower(trim(line.substr(1, line.size() - 2)));
      window = numbered(section, "window");
      if (section != "window titles" && window < 0) p.fail("unknown section [" + section + "]");
      if (window >= 0) raw[window].seen = true;
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) p.fail("expected key=value");
    std::string key = lower(trim(line.substr(0, eq)));
    std::string value = trim(line.substr(eq + 1));
    if (section.empty()) p.fail("'" + key + "' is outside any section");
    if (section == "window titles") {
      int n = numbered(key, "window");
      if (n < 0) p.fail("expected WindowNN=title");
      titles[n] = value;
    } else if (key == "size_mm") {
      std::vector<std::string> wh = split(value, ',');
      if (wh.size() != 2) p.fail("size_mm is width,height");
      raw[window].window.width = p.number(wh[0], "width");
      raw[window].window.height = p.number(wh[1], "height");
      raw[window].size_line = p.line;
    } else if (int n = numbered(key, "gauge"); n >= 0) {
      if (raw[window].gauges.count(n) != 0) p.fail("gauge" + std::to_string(n) + " is given twice");
      raw[window].gauges[n] = read_gauge(p, value);
    } else if (key != "file" && key != "position" && key != "visible" && key != "ident" &&
               key.rfind("file_", 0) != 0) {
      p.fail("unknown key '" + key + "'");
    }
  }

  PanelConfig config;
  for (int n = 0; titles.count(n) != 0; ++n) {
    auto it = raw.find(n);
    if (it == raw.end() || !it->second.seen) {
      throw HostError(file_name + ": Window" + std::to_string(n) + " has a title but no section");
    }
    RawWindow& w = it->second;
    if (w.size_line == 0)
      throw HostError(file_name + ": [Window" + std::to_string(n) + "] has no size_mm");
    w.window.title = titles[n];
    for (auto& [number, gauge] : w.gauges) {
      gauge.window = config.windows.size();
      w.window.gauges.push_back(gauge);
    }
    config.windows.push_back(w.window);
  }
  if (config.windows.empty())
    throw HostError(file_name + ": no window: [Window Titles] lists none");
  return config;
}

PanelConfig load_panel(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw HostError("cannot read panel " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return parse_panel(text.str(), path);
}

}  // namespace host
