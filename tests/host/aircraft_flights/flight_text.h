#pragma once
// Flight lines and terrain files written by the tests, numbers in full.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace aircraft_flights {

// A number as a flight reads it back exactly: "1030", "-2400", "0.15555555555555556".
inline std::string num(double value) {
  std::ostringstream out;
  out.precision(17);
  out << value;
  return out.str();
}

// Ground speed of the flights, in nautical miles a second.
inline double nm_per_second(double speed_kt) {
  return speed_kt / 3600.0;
}

// Writes a terrain profile of (distance nm, elevation ft) points into the
// tests' folder and returns its absolute path.
inline std::string write_profile(const std::string& name,
                                 const std::vector<std::pair<double, double>>& points) {
  const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "aircraft_flights";
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / (name + ".profile");
  std::ofstream out(path);
  out << "# " << name << ", written by the test\n";
  for (const auto& [distance, elevation] : points)
    out << num(distance) << " " << num(elevation) << "\n";
  return std::filesystem::absolute(path).string();
}

}  // namespace aircraft_flights
