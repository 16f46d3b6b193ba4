#pragma once
// gaugehost serve [PANEL_CFG | FLIGHT]: the live panel in a browser, served
// by the host from 127.0.0.1 unless told otherwise, until Ctrl-C.
#include <ostream>
#include <string>

#include "host/loader_options.h"

namespace CLI {
class App;
}

namespace host::serve {

struct ServeRequest {
  std::string path = "scenarios/panel.cfg";
  std::string modules_dir;  // default: beside gaugehost
  LoaderRequest loading;    // --loader, --check-writes
  std::string sound_root = ".";
  std::string scenarios;  // default: the folder of `path`
  std::string listen = "127.0.0.1";
  int port = 8018;
  std::string token;     // asked of every client; made up when `listen` is not loopback
  std::string log_path;  // the session's event log; none when empty
};

CLI::App* add_serve_command(CLI::App& gaugehost, ServeRequest& request);

// Serves until interrupted. The address goes to `out` as soon as it is
// served. Returns the exit status: 0 stopped by Ctrl-C, 1 could not serve,
// 2 this build has no HTTP server.
int serve(const ServeRequest& request, std::ostream& out, std::ostream& err);

}  // namespace host::serve
