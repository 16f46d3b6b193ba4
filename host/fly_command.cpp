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
#include "host/loader_options.h"
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
  add_loader_options(*fly, request.loading, true);
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

namespace {

// What this build cannot make: exit status 2 with the line saying so.
std::optional<int> refuse_unbuildable(const FlyRequest& request, std::ostream& err) {
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
  return std::nullopt;
}

// A flight longer than a simulated week is flown only when asked for.
bool too_long(const FlyRequest& request, const FlightScript& flight, std::ostream& err) {
  if (flight.past_longest().empty() || request.long_flight) return false;
  err << "gaugehost: " << flight.past_longest() << ": the flight lasts "
      << duration_text(flight.length_seconds())
      << ", longer than a simulated week; --long-flight flies it\n";
  return true;
}

// The host's options: where the log goes (`log_file` opened when it is a
// file) and whether anything reads the events back.
HostOptions host_options(const FlyRequest& request, const FlightScript& flight, std::ostream& out,
                         std::ofstream& log_file) {
  HostOptions options{request.modules_dir, request.sound_root, nullptr};
  options.own_copies = request.own_copies;
  options.loader = request.loading.loader;
  options.emulation = request.loading.emulation;
  if (!request.log_path.empty() && !discards(request.log_path)) {
    log_file.open(request.log_path, std::ios::binary | std::ios::trunc);
    if (!log_file) throw HostError("cannot write " + request.log_path);
  }
  options.echo = request.log_path.empty() ? &out : log_file.is_open() ? &log_file : nullptr;
  options.capture_events = events_needed(flight, request.summary, !request.audio_path.empty(),
                                         !request.report_path.empty());
  return options;
}

// What follows the flight frame by frame: its pictures and its report.
struct Watchers {
  std::unique_ptr<render::PanelSnapshots> pictures;
  std::unique_ptr<report::FlightReport> report;
};

Watchers watch(const FlyRequest& request, const FlightScript& flight, PanelHost& panel,
               std::optional<report::ReportSetup> report_setup) {
  Watchers watchers;
  if (!request.pictures_dir.empty()) {
    watchers.pictures =
        std::make_unique<render::PanelSnapshots>(panel, request.pictures_dir, flight.layout());
    panel.add_frame_observer(
        [pictures = watchers.pictures.get()](uint32_t frame) { pictures->after_frame(frame); });
  }
  if (report_setup) {
    watchers.report = std::make_unique<report::FlightReport>(panel, flight, request.flight_path,
                                                             std::move(*report_setup));
  }
  return watchers;
}

// Flies the flight; on a terminal, one that takes a while says how far it is.
std::vector<ExpectationResult> run_flight(FlightScript& flight, PanelHost& panel,
                                          std::ostream& err) {
  const double length = flight.length_seconds();
  const double fps = flight.frames_per_second();
  ProgressLine progress(err, stderr_is_terminal(), [](double done, double total) {
    return "flown " + duration_text(done) + " of " + duration_text(total);
  });
  if (stderr_is_terminal()) {
    panel.add_frame_observer(
        [&progress, length, fps](uint32_t frame) { progress.update(frame / fps, length); });
  }
  std::vector<ExpectationResult> results = flight.fly(panel);
  progress.finish();
  return results;
}

// What is made of the flight once flown: the sound track, the pictures'
// contact sheet, the report, the summary, the instruction counts.
void write_results(const FlyRequest& request, const FlightScript& flight, PanelHost& panel,
                   Watchers& watchers, const std::vector<ExpectationResult>& results,
                   std::ostream& out, std::ostream& err) {
  if (!request.audio_path.empty()) {
    audio::write_track(request.audio_path, panel.events().events(), flight.frames_per_second(),
                       request.sound_root);
  }
  if (watchers.pictures) {
    watchers.pictures->finish();
    err << "gaugehost: " << watchers.pictures->pictures()
        << " panel pictures and a contact sheet in " << request.pictures_dir << "\n";
  }
  if (watchers.report) {
    watchers.report->write(request.report_path, results);
    err << "gaugehost: the flight's report in " << request.report_path << "\n";
  }
  if (request.summary) {
    for (const std::string& line : summarize(panel.events().events(), flight.frames_per_second())) {
      out << line << "\n";
    }
  }
  print_instruction_counts(panel.space().instruction_counts(), err);
}

// The expectations that failed, and how many were met.
int verdict(const FlightScript& flight, const std::vector<std::string>& failed, std::ostream& err) {
  for (const std::string& line : failed) err << line << "\n";
  if (!flight.expectations().empty()) {
    err << "gaugehost: " << flight.expectations().size() - failed.size() << " of "
        << flight.expectations().size() << " expectations met\n";
  }
  return failed.empty() ? 0 : 1;
}

int fly_or_throw(const FlyRequest& request, std::ostream& out, std::ostream& err) {
  FlightScript flight = FlightScript::load(request.flight_path);
  if (too_long(request, flight, err)) return 1;
  std::ofstream log_file;
  const HostOptions options = host_options(request, flight, out, log_file);
  check_loader_options(options.modules_dir, request.loading, err);
  // The report's envelope map is swept before the flight's panel host starts.
  std::optional<report::ReportSetup> report_setup;
  if (!request.report_path.empty()) {
    report_setup = report::prepare_report(
        flight, {options.modules_dir, options.sound_root, options.loader, options.emulation});
  }
  PanelHost panel(options);
  Watchers watchers = watch(request, flight, panel, std::move(report_setup));
  const std::vector<ExpectationResult> results = run_flight(flight, panel, err);
  write_results(request, flight, panel, watchers, results, out, err);
  return verdict(flight, failure_lines(results), err);
}

}  // namespace

int fly(const FlyRequest& request, std::ostream& out, std::ostream& err) {
  if (const std::optional<int> status = refuse_unbuildable(request, err)) return *status;
  try {
    return fly_or_throw(request, out, err);
  } catch (const HostError& error) {
    err << "gaugehost: " << error.what() << "\n";
    return 1;
  }
}

}  // namespace host
