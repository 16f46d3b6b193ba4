#pragma once
// The ground along the approach track: a text file of points, one per line,
// "DISTANCE_NM ELEVATION_FT" (distance to the runway threshold in nautical
// miles, growing away from the runway; elevation above sea level in feet),
// '#' starting a comment. Elevations are linear between points and held at
// the ends. A file that does not read is refused as `file:line: what is
// wrong` before anything flies.
#include <string>
#include <vector>

namespace host::aircraft {

struct ProfilePoint {
  double distance_nm = 0.0;
  double elevation_ft = 0.0;
};

class TerrainProfile {
 public:
  // Level ground at sea level: the terrain when a flight names none.
  TerrainProfile() : points_{{0.0, 0.0}} {}
  // Throws HostError naming `file_name:line`.
  static TerrainProfile parse(const std::string& text, const std::string& file_name);
  static TerrainProfile load(const std::string& path);

  double elevation_ft(double distance_nm) const;
  // At least one point, distances strictly increasing.
  const std::vector<ProfilePoint>& points() const { return points_; }
  // The file it came from, as the flight named it; empty for level ground.
  const std::string& path() const { return path_; }

 private:
  std::vector<ProfilePoint> points_;
  std::string path_;
};

}  // namespace host::aircraft
