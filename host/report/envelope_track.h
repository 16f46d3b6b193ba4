#pragma once
// The GPWS envelope map (as gaugehost envelope draws it, from the real
// module) with the flight's own track over it: height above ground against
// vertical speed on the descent bands, height above the terrain against
// closure rate on the terrain envelope, so a reader sees where the flight
// entered an alert region.
#include <cstdint>
#include <vector>

#include "host/envelope/descent_sweep.h"
#include "host/envelope/sweep_grid.h"
#include "host/render/image.h"
#include "host/report/flight_recorder.h"

namespace host::report {

// Cells a side of each map: enough to read the bands, a few tenths of a
// second to sweep.
inline constexpr int32_t kReportEnvelopeGrid = 30;
inline constexpr render::Rgb kTrackColour{90, 220, 255};

// The closure rate at each sample, in ft/min: how fast the height above the
// terrain shrinks, over the second before it (0 for the first second).
std::vector<double> closure_rates(const std::vector<FlightSample>& samples,
                                  double frames_per_second);

struct EnvelopeMaps {
  envelope::SweepMap<envelope::DescentAlert> descent;
  envelope::SweepMap<uint8_t> terrain;
};

// Sweeps the module on the axes of gaugehost envelope. Only one panel host
// runs at a time, so this comes before the flight's. Throws HostError as
// the sweeps do.
EnvelopeMaps sweep_envelope(const envelope::SweepSetup& setup, int32_t grid = kReportEnvelopeGrid);

// The map with the flight's track drawn over it.
render::Image envelope_with_track(const EnvelopeMaps& maps,
                                  const std::vector<FlightSample>& samples,
                                  double frames_per_second);

}  // namespace host::report
