#include "host/gaugehost_cli.h"

#include <CLI/CLI.hpp>

#include "cli/command_line.h"
#include "host/envelope/envelope_command.h"
#include "host/fly_command.h"
#include "host/serve/serve_command.h"

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
  serve::ServeRequest live;
  live.modules_dir = program_dir;
  CLI::App* serve_command = serve::add_serve_command(app, live);
  if (auto status = command_line::parse(app, args, out, err)) return *status;
  if (serve_command->parsed()) return serve::serve(live, out, err);
  return fly_command->parsed() ? fly(flight, out, err) : envelope::draw_envelope(map, err);
}

}  // namespace host
