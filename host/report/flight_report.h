#pragma once
// gaugehost fly FLIGHT --report FILE.html: follows the flight frame by frame
// and, once it is flown, writes its report page.
#include <string>
#include <vector>

#include "host/flight_script.h"
#include "host/report/flight_recorder.h"

namespace host {
class PanelHost;
}

namespace host::report {

class FlightReport {
 public:
  // Watches `panel` from now on; `title` names the flight on the page.
  FlightReport(PanelHost& panel, const FlightScript& flight, std::string title,
               std::string sound_root);
  FlightReport(const FlightReport&) = delete;
  FlightReport& operator=(const FlightReport&) = delete;

  // The page for the flight flown, given the lines of the expectations
  // that failed (as FlightScript::run returns them).
  std::string page(const std::vector<std::string>& failed) const;
  // Writes the page to `path` through PATH.tmp and a rename; throws HostError.
  void write(const std::string& path, const std::vector<std::string>& failed) const;

 private:
  PanelHost& panel_;
  const FlightScript& flight_;
  std::string title_;
  std::string sound_root_;
  FlightRecorder recorder_;
};

// Writes `text` to PATH.tmp and renames it to PATH, so no reader ever sees
// half a page; throws HostError when it cannot.
void write_text_file(const std::string& path, const std::string& text);

}  // namespace host::report
