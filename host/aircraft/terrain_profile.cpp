#include "host/aircraft/terrain_profile.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <locale>
#include <sstream>

#include "host/host_error.h"

namespace host::aircraft {
namespace {

// A number as a flight reads one: the whole word, in the classic locale.
bool read_number(const std::string& word, double& out) {
  std::istringstream in(word);
  in.imbue(std::locale::classic());
  in >> out;
  return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

[[noreturn]] void refuse(const std::string& where, const std::string& what) {
  throw HostError(where + ": " + what);
}

double number_at(const std::string& where, const std::string& word, const char* what) {
  double value = 0.0;
  if (!read_number(word, value)) refuse(where, "'" + word + "' is not a number (" + what + ")");
  if (!std::isfinite(value)) refuse(where, "'" + word + "' is not a finite number (" + what + ")");
  return value;
}

}  // namespace

TerrainProfile TerrainProfile::parse(const std::string& text, const std::string& file_name) {
  TerrainProfile profile;
  profile.points_.clear();
  profile.path_ = file_name;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  for (number = 1; std::getline(lines, line); ++number) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    if (words.empty()) continue;
    const std::string where = file_name + ":" + std::to_string(number);
    if (words.size() != 2) {
      refuse(where, "a point is two numbers, DISTANCE_NM ELEVATION_FT; this line has " +
                        std::to_string(words.size()) + " word(s)");
    }
    const ProfilePoint point{number_at(where, words[0], "distance, nm"),
                             number_at(where, words[1], "elevation, ft")};
    if (!profile.points_.empty() && !(point.distance_nm > profile.points_.back().distance_nm)) {
      refuse(where, "distances must grow from line to line: " + words[0] + " nm is not beyond " +
                        "the point before it");
    }
    profile.points_.push_back(point);
  }
  if (profile.points_.empty()) {
    refuse(file_name + ":" + std::to_string(std::max(1, number - 1)),
           "no points: a profile has at least one line DISTANCE_NM ELEVATION_FT");
  }
  return profile;
}

TerrainProfile TerrainProfile::load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw HostError("cannot read terrain profile " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str(), path);
}

double TerrainProfile::elevation_ft(double distance_nm) const {
  // Not beyond the first point (or not a number): held at the first.
  if (!(distance_nm > points_.front().distance_nm)) return points_.front().elevation_ft;
  if (distance_nm >= points_.back().distance_nm) return points_.back().elevation_ft;
  auto after = std::upper_bound(points_.begin(), points_.end(), distance_nm,
                                [](double d, const ProfilePoint& p) { return d < p.distance_nm; });
  const ProfilePoint& b = *after;
  const ProfilePoint& a = *(after - 1);
  const double t = (distance_nm - a.distance_nm) / (b.distance_nm - a.distance_nm);
  return a.elevation_ft + (b.elevation_ft - a.elevation_ft) * t;
}

}  // namespace host::aircraft
