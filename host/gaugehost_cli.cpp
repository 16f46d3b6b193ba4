#include "host/gaugehost_cli.h"

#include <CLI/CLI.hpp>

#include "cli/command_line.h"
#include "host/envelope/envelope_command.h"
#include "host/fly_command.h"

namespace host {

int run_gaugehost(const std::vector<std::string>& args, const std::string& program_dir,
                  std::ostream& out, std::ostream& err) {
  CLI::App app("The panel host: flies the gauge modules as the simulator's 2D panel would.",
               "gaugehost");
  command_line::set_up(app);
  app.require_subcommand(1);
  FlyRequest flight;
  flight.modules_dir = program_dir;
  CLI::App* fly_command = add_fly_command(app, flight);
  envelope::EnvelopeRequest map;
  map.setup = envelope::SweepSetup{program_dir, "."};
  add_envelope_command(app, map);
  if (auto status = command_line::parse(app, args, out, err)) return *status;
  return fly_command->parsed() ? fly(flight, out, err) : envelope::draw_envelope(map, err);
}

}  // namespace host
