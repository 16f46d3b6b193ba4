#pragma once
// gaugehost fly FLIGHT --report FILE.html: follows the flight frame by frame
// and, once it is flown, writes its report page.
#include <optional>
#include <string>
#include <vector>

#include "host/envelope/sweep_grid.h"
#include "host/flight_script.h"
#include "host/report/envelope_track.h"
#include "host/report/flight_recorder.h"
#include "host/report/side_view.h"

namespace host {
class PanelHost;
}

namespace host::report {

// What a report needs before the flight's panel host exists (only one runs
// at a time): where the modules and sounds are, and the GPWS envelope,
// swept when the flight places the GPWS.
struct ReportSetup {
  envelope::SweepSetup where;
  std::optional<EnvelopeMaps> envelope;
  std::string no_envelope_why;
};
ReportSetup prepare_report(const FlightScript& flight, envelope::SweepSetup where);

class FlightReport {
 public:
  // Watches `panel` from now on; `title` names the flight on the page.
  FlightReport(PanelHost& panel, const FlightScript& flight, std::string title, ReportSetup setup);
  FlightReport(const FlightReport&) = delete;
  FlightReport& operator=(const FlightReport&) = delete;

  // The page for the flight flown, given its expectations' results (as
  // FlightScript::fly returns them).
  std::string page(const std::vector<host::ExpectationResult>& results) const;
  // Writes the page to `path` through PATH.tmp and a rename; throws HostError.
  void write(const std::string& path, const std::vector<host::ExpectationResult>& results) const;

 private:
  PanelHost& panel_;
  const FlightScript& flight_;
  std::string title_;
  ReportSetup setup_;
  FlightRecorder recorder_;
  SideView side_view_;  // drawn only when the flight flew an aircraft
};

// Writes `text` to PATH.tmp and renames it to PATH, so no reader ever sees
// half a page; throws HostError when it cannot.
void write_text_file(const std::string& path, const std::string& text);

}  // namespace host::report
