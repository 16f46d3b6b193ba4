#pragma once
// gaugehost fly FLIGHT: flies one flight through the modules, prints or keeps
// its event log and whatever else was asked for (summary, sound track,
// pictures, report).
#include <ostream>
#include <string>

#include "host/loader_options.h"

namespace CLI {
class App;
}

namespace host {

struct FlyRequest {
  std::string flight_path;
  std::string modules_dir;  // default: beside gaugehost
  LoaderRequest loading;    // --loader, --check-writes, --count-instructions
  std::string sound_root = ".";
  std::string log_path;  // empty: standard output
  bool summary = false;
  bool own_copies = false;
  bool long_flight = false;  // fly a flight longer than a simulated week
  std::string audio_path;
  std::string pictures_dir;
  std::string report_path;
};

// Adds the fly subcommand to gaugehost's command line, its words read into
// `request`.
CLI::App* add_fly_command(CLI::App& gaugehost, FlyRequest& request);

// The log (when it goes to standard output) and the summary go to `out`, all
// else to `err`. Returns the exit status: 0 flown and every expectation met,
// 1 an expectation failed or the flight could not be flown, 2 asked for
// something this build cannot make.
int fly(const FlyRequest& request, std::ostream& out, std::ostream& err);

}  // namespace host
