#include "host/envelope/envelope_command.h"

#include <charconv>

#include "host/envelope/descent_sweep.h"
#include "host/envelope/envelope_picture.h"
#include "host/envelope/terrain_sweep.h"
#include "host/host_error.h"
#include "host/render/png_writer.h"

namespace host::envelope {
namespace {

constexpr int32_t kDefaultGrid = 60;
constexpr int32_t kCoarseGrid = 14;
constexpr int32_t kLargestGrid = 200;

int usage(std::ostream& err, const std::string& problem) {
  err << "gaugehost: " << problem << "\nusage: " << kEnvelopeUsage;
  return 2;
}

}  // namespace

int envelope_command(const std::vector<std::string>& args, const std::string& modules_dir,
                     std::ostream& err) {
  if (args.empty() || args[0].starts_with("--")) return usage(err, "envelope: expected OUT.png");
  const std::string out = args[0];
  SweepSetup setup{modules_dir, "."};
  int32_t grid = kDefaultGrid;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--coarse") {
      grid = kCoarseGrid;
      continue;
    }
    if (option != "--modules" && option != "--root" && option != "--grid") {
      return usage(err, "unknown option " + option);
    }
    if (i + 1 >= args.size()) return usage(err, "option " + option + " needs a value");
    const std::string& value = args[++i];
    if (option == "--modules") {
      setup.modules_dir = value;
    } else if (option == "--root") {
      setup.sound_root = value;
    } else {
      auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), grid);
      if (error != std::errc() || end != value.data() + value.size() || grid < 2 ||
          grid > kLargestGrid) {
        return usage(err, "--grid wants a whole number from 2 to " + std::to_string(kLargestGrid));
      }
    }
  }
  if (!render::png_supported()) {
    err << "gaugehost: envelope: this build writes no pictures (it has no PNG library; use the "
           "native gaugehost)\n";
    return 2;
  }
  try {
    const auto descent =
        sweep_descent(setup, GridAxis{0.0, 2600.0, grid}, GridAxis{0.0, -8000.0, grid});
    const auto terrain =
        sweep_terrain(setup, GridAxis{0.0, 2000.0, grid}, GridAxis{0.0, 8000.0, grid});
    render::write_png(out, envelope_picture(descent, terrain));
  } catch (const HostError& error) {
    err << "gaugehost: envelope: " << error.what() << "\n";
    return 1;
  }
  err << "gaugehost: the GPWS envelope (" << grid << " x " << grid << " cells a map) in " << out
      << "\n";
  return 0;
}

}  // namespace host::envelope
