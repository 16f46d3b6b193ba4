#pragma once
// Every request of the page checked before anything reaches the flight:
// the variable known by name, the value a finite number in its range, a
// click on a gauge, a speed the loop can keep, a flight from the scenarios.
// A request that fails is answered with a 4xx status and says why.
#include <string>
#include <variant>
#include <vector>

#include "host/flight_args.h"
#include "host/serve/panel_view.h"

namespace host::serve {

struct Refusal {
  int status;  // 400 for a malformed or out-of-range value, 404 for an unknown name
  std::string message;
};

template <typename T>
using Checked = std::variant<T, Refusal>;

// A finite number in [low, high], written as a plain decimal number.
Checked<double> number_in(const std::string& what, const std::string& text, double low,
                          double high);

// "set NAME VALUE" for a readable variable name and a value in its range.
Checked<FlightCommand> set_request(const std::string& name, const std::string& value);
// "hold GAUGE X Y" for a pixel of the panel picture on a gauge; letting go
// is "release GAUGE".
Checked<FlightCommand> press_request(const PanelLayout& layout, const std::string& x,
                                     const std::string& y);
Checked<FlightCommand> release_request(const PanelLayout& layout, const std::string& gauge);
// A command flying the aircraft, as its flight line ("descend 800 fpm"):
// one of the verbs below, its words read by the command's own row.
// Terrain profiles are files, so they are the flight's to name, not the page's.
inline constexpr const char* kPageFlyingVerbs[] = {"aircraft",  "descend", "climb", "level",
                                                   "speed",     "gear",    "flaps", "power",
                                                   "glidepath", "follow"};
inline constexpr size_t kLongestFlyingLine = 120;
Checked<FlightCommand> fly_request(const std::string& line);
// Flight speeds the page may ask for, as a factor of the flight's own rate.
inline constexpr double kSlowest = 0.1;
inline constexpr double kFastest = 8.0;
Checked<double> speed_request(const std::string& value);
// A flight of the scenarios folder: its file name as the page shows it
// (any bytes, shown as page_text.h writes them) and the file's path.
struct ScenarioFile {
  std::string shown;
  std::string path;
};
// The file of the flight the page names, by its shown name.
Checked<std::string> scenario_request(const std::vector<ScenarioFile>& known,
                                      const std::string& name);
// The same, once the file reads as a flight (400 saying why when not).
Checked<std::string> flyable_scenario(const std::vector<ScenarioFile>& known,
                                      const std::string& name);

}  // namespace host::serve
