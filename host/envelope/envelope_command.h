#pragma once
// gaugehost envelope OUT.png [--modules DIR] [--root DIR] [--grid N | --coarse]:
// sweeps the real vrn_gpws module and writes the envelope map.
#include <ostream>
#include <string>
#include <vector>

namespace host::envelope {

inline constexpr const char* kEnvelopeUsage =
    "gaugehost envelope OUT.png [--modules DIR] [--root DIR] [--grid N | --coarse]\n"
    "  OUT.png        the map of where the GPWS's descent and terrain alerts begin\n"
    "  --grid N       N x N cells per map (default 60); --coarse: 14 x 14\n";

// `args` are the words after "envelope"; `modules_dir` the default folder.
// Returns the exit status: 0 written, 1 failed, 2 a usage mistake.
int envelope_command(const std::vector<std::string>& args, const std::string& modules_dir,
                     std::ostream& err);

}  // namespace host::envelope
