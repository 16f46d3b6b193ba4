#include "host/serve/serve_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "host/host_error.h"
#include "host/loader_options.h"
#include "host/serve/request_limits.h"

#if defined(GAUGES_HAVE_SERVE)
#include "host/serve/client_check.h"
#include "host/serve/live_loop.h"
#include "host/serve/live_server.h"
#endif

namespace host::serve {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void on_interrupt(int) {
  interrupted = 1;
}

}  // namespace

CLI::App* add_serve_command(CLI::App& gaugehost, ServeRequest& request) {
  CLI::App* serve = gaugehost.add_subcommand(
      "serve", "Fly a panel or a flight by hand in a browser (the live panel)");
  serve->footer(
      "Open the address it prints. The page shows the panel, takes clicks on its\n"
      "gauges, sets every variable, pauses, steps and speeds the flight, plays the\n"
      "voices, and saves the session as a flight that `gaugehost fly` replays.\n"
      "Stop it with Ctrl-C.\n\n"
      "Limits of a request: it arrives whole within " +
      std::to_string(kRequestSeconds) +
      " s (else the client is dropped),\n"
      "a body of at most " +
      std::to_string(kMaxBody) +
      " bytes however it is sent (413; compressed bodies: 415),\n"
      "a header block of at most " +
      std::to_string(kMaxHeaderBlock) + " bytes in " + std::to_string(kMaxHeaderLines) +
      " lines (431), a path and query of\nat most " + std::to_string(kMaxTarget) + " bytes (414).");
  serve
      ->add_option("PATH", request.path,
                   "a panel configuration (.cfg) or a flight to start from\n"
                   "(default: scenarios/panel.cfg)")
      ->type_name("");
  serve
      ->add_option("--modules", request.modules_dir,
                   "where the modules are (default: beside gaugehost)")
      ->type_name("DIR");
  add_loader_options(*serve, request.loading);
  serve
      ->add_option("--root", request.sound_root,
                   "the folder holding Sound\\*.wav (default: the current folder)")
      ->type_name("DIR");
  serve
      ->add_option("--scenarios", request.scenarios,
                   "the flights the page may start (default: the folder of PATH)")
      ->type_name("DIR");
  serve
      ->add_option("--listen", request.listen,
                   "the address to listen on (default: 127.0.0.1, this machine only;\n"
                   "any other than loopback asks every client for a token)")
      ->type_name("ADDR");
  serve
      ->add_option("--token", request.token,
                   "the token every client must bring (default: none on loopback,\n"
                   "a random one otherwise; the address printed carries it)")
      ->type_name("TOKEN")
      ->check(CLI::Validator(
          [](const std::string& token) -> std::string {
            const bool plain = std::all_of(token.begin(), token.end(), [](char c) {
              return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
            });
            return plain && token.size() >= 8 ? "" : "at least 8 letters, digits, '-' or '_'";
          },
          "", ""));
  serve->add_option("--port", request.port, "the port (default: 8018; 0: any free one)")
      ->type_name("N")
      ->check(CLI::Range(0, 65535));
  serve
      ->add_option("--log", request.log_path,
                   "keep each session's event log in FILE (a new session starts it afresh)")
      ->type_name("FILE");
  return serve;
}

#if defined(GAUGES_HAVE_SERVE)

int serve(const ServeRequest& request, std::ostream& out, std::ostream& err) {
  namespace fs = std::filesystem;
  const std::string scenarios =
      request.scenarios.empty() ? fs::path(request.path).parent_path().string() : request.scenarios;
  std::ofstream log;
  LoopSettings settings{HostOptions{request.modules_dir, request.sound_root, nullptr}, request.path,
                        scenarios.empty() ? "." : scenarios, nullptr, &err};
  settings.host.loader = request.loading.loader;
  settings.host.emulation = request.loading.emulation;
  if (!request.log_path.empty()) {
    settings.host.echo = &log;
    settings.new_session = [&log, &request] {
      log.close();
      log.open(request.log_path, std::ios::binary | std::ios::trunc);
      if (!log) throw HostError("cannot write " + request.log_path);
    };
  }
  try {
    check_loader_options(request.modules_dir, request.loading, err);
    LiveExchange exchange;
    LiveLoop loop(exchange, settings);
    const std::string token = !request.token.empty()                    ? request.token
                              : reaches_beyond_loopback(request.listen) ? random_token()
                                                                        : "";
    LiveServer server(exchange,
                      ServerSettings{request.listen, request.port, request.sound_root,
                                     LiveLoop::scenarios(settings.scenarios, &err), &err, token});
    const int port = server.bind();
    if (port < 0) {
      err << "gaugehost: cannot listen on " << request.listen << " port " << request.port << "\n";
      return 1;
    }
    interrupted = 0;
    std::signal(SIGINT, on_interrupt);
    std::signal(SIGTERM, on_interrupt);
    // A browser drops connections it no longer needs (a sound it stopped
    // fetching, a closed tab): writing to one must not end the host.
    std::signal(SIGPIPE, SIG_IGN);
    std::thread http([&server] { server.listen(); });
    out << "gaugehost: the live panel is at http://" << url_authority(request.listen, port) << "/"
        << (token.empty() ? "" : "?token=" + token) << " (Ctrl-C stops it)" << std::endl;
    int status = 0;
    try {
      loop.run([] { return interrupted == 0; });
    } catch (const HostError& error) {
      err << "gaugehost: " << error.what() << "\n";
      status = 1;
    }
    exchange.stop();
    server.stop();
    http.join();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (status == 0) err << "gaugehost: stopped\n";
    return status;
  } catch (const HostError& error) {
    err << "gaugehost: " << error.what() << "\n";
    return 1;
  }
}

#else

int serve(const ServeRequest&, std::ostream&, std::ostream& err) {
  err << "gaugehost: serve: this build has no HTTP server (Debian's cpp-httplib is built for "
         "Linux only, use the native gaugehost)\n";
  return 2;
}

#endif

}  // namespace host::serve
