#pragma once
// A flight: the gauges to place, what happens over time, and what is
// expected. One command per line; '#' starts a comment. The whole file is
// read and checked before anything runs, so a mistake is reported as
// `file:line: what is wrong` with nothing flown. Each line is read once by
// its row of flight_commands.cpp, expectations by their forms in
// flight_expectations.cpp (`gaugehost fly --help` lists both).
#include <cstdint>
#include <string>
#include <vector>

#include "host/flight_args.h"
#include "host/flight_commands.h"
#include "host/flight_expectations.h"
#include "host/panel_config.h"
#include "host/panel_host.h"

namespace host {

// A simulated week: a flight file longer than this is more likely a slip
// (a time in frames written as seconds) than meant, and is flown only when
// asked for (gaugehost fly --long-flight).
inline constexpr double kLongestFlightSeconds = 7 * 24 * 3600.0;

class FlightScript {
 public:
  static FlightScript parse(const std::string& text, const std::string& file_name);
  static FlightScript load(const std::string& path);

  // Flies it; a flight that does not say `stop` is stopped at its end.
  // Returns the result of each expectation, in the flight's order.
  std::vector<ExpectationResult> fly(PanelHost& host) const;
  // The same, as one line for each expectation that failed.
  std::vector<std::string> run(PanelHost& host) const { return failure_lines(fly(host)); }

  const std::vector<FlightLine>& lines() const { return lines_; }
  const std::vector<Expectation>& expectations() const { return expectations_; }
  double frames_per_second() const { return setup_.frames_per_second; }
  double ticks_per_second() const { return setup_.ticks_per_second; }
  // The gauges placed by `panel` and `gauge` lines, with their places.
  const std::vector<PanelGauge>& layout() const { return setup_.layout; }
  const FlightSetup& setup() const { return setup_; }
  // How long it flies, as its `at`, `wait` and `frames` lines say.
  double length_seconds() const { return length_seconds_; }
  // The file:line at which it first lasts longer than kLongestFlightSeconds;
  // empty when it never does.
  const std::string& past_longest() const { return past_longest_; }

 private:
  void lengthen(const FlightLine& line);

  double length_seconds_ = 0.0;
  std::string past_longest_;
  std::vector<FlightLine> lines_;
  std::vector<Expectation> expectations_;
  FlightSetup setup_;
};

}  // namespace host
