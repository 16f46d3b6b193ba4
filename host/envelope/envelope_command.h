#pragma once
// gaugehost envelope OUT.png [--modules DIR] [--root DIR] [--grid N | --coarse]:
// sweeps the real vrn_gpws module and writes the envelope map.
#include <cstdint>
#include <ostream>
#include <string>

#include "host/envelope/sweep_grid.h"
#include "host/loader_options.h"

namespace CLI {
class App;
}

namespace host::envelope {

inline constexpr int32_t kDefaultGrid = 60;

struct EnvelopeRequest {
  std::string out;
  SweepSetup setup;       // modules beside gaugehost, sounds in the current folder
  LoaderRequest loading;  // --loader, --check-writes: into setup when it sweeps
  int32_t grid = kDefaultGrid;
};

// Adds the envelope subcommand to gaugehost's command line, its words read
// into `request`.
CLI::App* add_envelope_command(CLI::App& gaugehost, EnvelopeRequest& request);

// Returns the exit status: 0 written, 1 failed, 2 this build writes no PNG.
int draw_envelope(const EnvelopeRequest& request, std::ostream& err);

}  // namespace host::envelope
