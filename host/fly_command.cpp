#include "host/fly_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "host/audio/track_mixer.h"
#include "host/flight_script.h"
#include "host/flight_summary.h"
#include "host/host_error.h"
#include "host/module_loader.h"
#include "host/panel_host.h"
#include "host/progress_line.h"
#include "host/render/png_writer.h"
#include "host/render/snapshots.h"
#include "host/report/flight_report.h"

namespace host {
namespace {

// A log sent to the null device is read by nobody: the host need not write it.
bool discards(const std::string& log_path) {
#if defined(_WIN32)
  if (log_path == "NUL" || log_path == "nul") return true;
#endif
  return log_path == "/dev/null";
}

// Whether anything after the flight reads its events back: the summary, the
// sound track, the report and the expectations on sounds and key events.
bool events_needed(const FlightScript& flight, bool summary, bool audio, bool report) {
  return summary || audio || report ||
         std::any_of(flight.expectations().begin(), flight.expectations().end(),
                     [](const Expectation& e) { return !e.reads_state(); });
}

}  // namespace

CLI::App* add_fly_command(CLI::App& gaugehost, FlyRequest& request) {
  CLI::App* fly = gaugehost.add_subcommand(
      "fly", "Fly a flight through the gauge modules and print its event log");
  fly->footer("Commands of a flight file, one a line ('#' starts a comment):\n" +
              flight_commands_usage());
  fly->add_option("FLIGHT", request.flight_path, "a flight file (see scenarios/)")
      ->type_name("")
      ->required();
  fly->add_option("--modules", request.modules_dir,
                  "where the modules are (default: beside gaugehost)")
      ->type_name("DIR");
  fly->add_option("--loader", request.loader, kLoaderOptionHelp)->type_name("native|emulated");
  fly->add_option("--root", request.sound_root,
                  "the folder holding Sound\\*.wav (default: the current folder)")
      ->type_name("DIR");
  fly->add_option("--log", request.log_path,
                  "write the event log there instead of standard output\n"
                  "(/dev/null or NUL: write none)")
      ->type_name("FILE");
  fly->add_flag("--summary", request.summary,
                "print each voice, key event, variable write and lamp change\nwith its time");
  fly->add_option("--audio", request.audio_path,
                  "write the flight's sounds as one WAV track\n(16-bit mono, 22050 Hz)")
      ->type_name("FILE");
  fly->add_option("--pictures", request.pictures_dir,
                  "write DIR/frame_NNNNNN.png of the panel after every frame\n"
                  "that changed what it shows, and DIR/contact_sheet.png at the end")
      ->type_name("DIR");
  fly->add_option("--report", request.report_path,
                  "write one self-contained HTML page: the timeline plot, the\n"
                  "panel at the events, the summary, the expectations and the\n"
                  "sound track")
      ->type_name("FILE.html");
  fly->add_flag("--long-flight", request.long_flight,
                "fly a flight that lasts longer than a simulated week (such a\n"
                "file is refused without it, naming the line that goes past)");
  fly->add_flag("--own-copies", request.own_copies,
                "place every gauge as the host's own copy of its header and\n"
                "element chain, as a host that places a gauge twice may");
  return fly;
}

int fly(const FlyRequest& request, std::ostream& out, std::ostream& err) {
  if (!request.pictures_dir.empty() && !render::png_supported()) {
    err << "gaugehost: --pictures: this build writes no pictures (it has no PNG library; "
           "use the native gaugehost)\n";
    return 2;
  }
  if (!request.report_path.empty() && !render::png_supported()) {
    err << "gaugehost: --report: reports are made by the native gaugehost only (this "
           "build has no PNG library for the panel pictures)\n";
    return 2;
  }

  HostOptions options{request.modules_dir, request.sound_root, nullptr};
  options.own_copies = request.own_copies;
  options.loader = request.loader;
  try {
    FlightScript flight = FlightScript::load(request.flight_path);
    if (!flight.past_longest().empty() && !request.long_flight) {
      err << "gaugehost: " << flight.past_longest() << ": the flight lasts "
          << duration_text(flight.length_seconds())
          << ", longer than a simulated week; --long-flight flies it\n";
      return 1;
    }
    std::ofstream log_file;
    if (!request.log_path.empty() && !discards(request.log_path)) {
      log_file.open(request.log_path, std::ios::binary | std::ios::trunc);
      if (!log_file) throw HostError("cannot write " + request.log_path);
    }
    options.echo = request.log_path.empty() ? &out : log_file.is_open() ? &log_file : nullptr;
    options.capture_events = events_needed(flight, request.summary, !request.audio_path.empty(),
                                           !request.report_path.empty());
    // The report's envelope map is swept before the flight's panel host starts.
    std::optional<report::ReportSetup> report_setup;
    if (!request.report_path.empty()) {
      report_setup =
          report::prepare_report(flight, {options.modules_dir, options.sound_root, options.loader});
    }
    say_loader(options.modules_dir, options.loader, err);
    PanelHost panel(options);
    std::unique_ptr<render::PanelSnapshots> pictures;
    if (!request.pictures_dir.empty()) {
      pictures =
          std::make_unique<render::PanelSnapshots>(panel, request.pictures_dir, flight.layout());
      panel.add_frame_observer([&pictures](uint32_t frame) { pictures->after_frame(frame); });
    }
    std::unique_ptr<report::FlightReport> report;
    if (!request.report_path.empty()) {
      report = std::make_unique<report::FlightReport>(panel, flight, request.flight_path,
                                                      std::move(*report_setup));
    }
    // On a terminal, a flight that takes a while says how far it is.
    const double length = flight.length_seconds();
    const double fps = flight.frames_per_second();
    ProgressLine progress(err, stderr_is_terminal(), [](double done, double total) {
      return "flown " + duration_text(done) + " of " + duration_text(total);
    });
    if (stderr_is_terminal()) {
      panel.add_frame_observer(
          [&progress, length, fps](uint32_t frame) { progress.update(frame / fps, length); });
    }
    const std::vector<ExpectationResult> results = flight.fly(panel);
    const std::vector<std::string> failed = failure_lines(results);
    progress.finish();
    if (!request.audio_path.empty()) {
      audio::write_track(request.audio_path, panel.events().events(), flight.frames_per_second(),
                         options.sound_root);
    }
    if (pictures) {
      pictures->finish();
      err << "gaugehost: " << pictures->pictures() << " panel pictures and a contact sheet in "
          << request.pictures_dir << "\n";
    }
    if (report) {
      report->write(request.report_path, results);
      err << "gaugehost: the flight's report in " << request.report_path << "\n";
    }
    if (request.summary) {
      for (const std::string& line :
           summarize(panel.events().events(), flight.frames_per_second())) {
        out << line << "\n";
      }
    }
    for (const std::string& line : failed) err << line << "\n";
    if (!flight.expectations().empty()) {
      err << "gaugehost: " << flight.expectations().size() - failed.size() << " of "
          << flight.expectations().size() << " expectations met\n";
    }
    if (!failed.empty()) return 1;
  } catch (const HostError& error) {
    err << "gaugehost: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace host
