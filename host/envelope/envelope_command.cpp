#include "host/envelope/envelope_command.h"

#include <CLI/CLI.hpp>
#include <charconv>

#include "host/envelope/descent_sweep.h"
#include "host/envelope/envelope_picture.h"
#include "host/envelope/terrain_sweep.h"
#include "host/host_error.h"
#include "host/loader_options.h"
#include "host/progress_line.h"
#include "host/render/png_writer.h"

namespace host::envelope {
namespace {

constexpr int32_t kCoarseGrid = 14;
constexpr int32_t kLargestGrid = 200;

}  // namespace

CLI::App* add_envelope_command(CLI::App& gaugehost, EnvelopeRequest& request) {
  CLI::App* envelope = gaugehost.add_subcommand(
      "envelope", "Map where the GPWS's descent and terrain alerts begin (PNG)");
  envelope->add_option("OUT.png", request.out, "the map to write")->type_name("")->required();
  envelope
      ->add_option("--modules", request.setup.modules_dir,
                   "where the modules are (default: beside gaugehost)")
      ->type_name("DIR");
  add_loader_options(*envelope, request.loading);
  envelope
      ->add_option("--root", request.setup.sound_root,
                   "the folder holding Sound\\*.wav (default: the current\n"
                   "folder); it must hold the voices, since the sink rate is heard")
      ->type_name("DIR");
  // Read in the order given, so the last of --grid and --coarse counts.
  envelope
      ->add_option_function<std::string>(
          "--grid",
          [&request](const std::string& value) {
            auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), request.grid);
            if (error != std::errc() || end != value.data() + value.size() || request.grid < 2 ||
                request.grid > kLargestGrid) {
              throw CLI::ValidationError(
                  "--grid", "wants a whole number from 2 to " + std::to_string(kLargestGrid));
            }
          },
          "N x N cells per map (default " + std::to_string(kDefaultGrid) + ")")
      ->type_name("N")
      ->trigger_on_parse();
  envelope
      ->add_flag_callback(
          "--coarse", [&request] { request.grid = kCoarseGrid; },
          "as --grid " + std::to_string(kCoarseGrid))
      ->trigger_on_parse();
  return envelope;
}

int draw_envelope(const EnvelopeRequest& request, std::ostream& err) {
  if (!render::png_supported()) {
    err << "gaugehost: envelope: this build writes no pictures (it has no PNG library; use the "
           "native gaugehost)\n";
    return 2;
  }
  const int32_t grid = request.grid;
  // On a terminal, a fine grid that takes a while says how far it is.
  const double cells = 2.0 * grid * grid;
  double done = 0.0;
  ProgressLine progress(err, stderr_is_terminal(), [](double d, double total) {
    return "swept " + std::to_string(static_cast<int64_t>(d)) + " of " +
           std::to_string(static_cast<int64_t>(total)) + " cells";
  });
  const auto cell_done = [&] { progress.update(++done, cells); };
  try {
    check_loader_options(request.setup.modules_dir, request.loading, err);
    SweepSetup setup = request.setup;
    setup.loader = request.loading.loader;
    setup.emulation = request.loading.emulation;
    const auto descent =
        sweep_descent(setup, GridAxis{0.0, 2600.0, grid}, GridAxis{0.0, -8000.0, grid}, cell_done);
    const auto terrain =
        sweep_terrain(setup, GridAxis{0.0, 2000.0, grid}, GridAxis{0.0, 8000.0, grid}, cell_done);
    progress.finish();
    render::write_png(request.out, envelope_picture(descent, terrain));
  } catch (const HostError& error) {
    err << "gaugehost: envelope: " << error.what() << "\n";
    return 1;
  }
  err << "gaugehost: the GPWS envelope (" << grid << " x " << grid << " cells a map) in "
      << request.out << "\n";
  return 0;
}

}  // namespace host::envelope
