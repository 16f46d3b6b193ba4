// gaugehost: flies a flight through the gauge modules and prints the event log.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "host/audio/track_mixer.h"
#include "host/envelope/envelope_command.h"
#include "host/flight_script.h"
#include "host/flight_summary.h"
#include "host/host_error.h"
#include "host/panel_host.h"
#include "host/render/png_writer.h"
#include "host/render/snapshots.h"
#include "host/report/flight_report.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr const char* kUsage =
    "usage: gaugehost fly FLIGHT [--modules DIR] [--root DIR] [--log FILE] [--summary]\n"
    "                     [--audio FILE] [--pictures DIR] [--report FILE.html] [--own-copies]\n"
    "  FLIGHT         a flight file (see scenarios/)\n"
    "  --modules DIR  where the modules are (default: beside gaugehost)\n"
    "  --root DIR     the folder holding Sound\\*.wav (default: the current folder)\n"
    "  --log FILE     write the event log there instead of standard output\n"
    "  --summary      print each voice, key event, variable write and lamp change with its time\n"
    "  --audio FILE   write the flight's sounds as one WAV track (16-bit mono, 22050 Hz)\n"
    "  --pictures DIR write DIR/frame_NNNNNN.png of the panel after every frame that\n"
    "                 changed what it shows, and DIR/contact_sheet.png at the end\n"
    "  --report FILE  write one self-contained HTML page: the timeline plot, the panel at\n"
    "                 the events, the summary, the expectations and the sound track\n"
    "  --own-copies   place every gauge as the host's own copy of its header and element\n"
    "                 chain, as a host that places a gauge twice may\n";

// A log sent to the null device is read by nobody: the host need not write it.
bool discards(const std::string& log_path) {
#if defined(_WIN32)
  if (log_path == "NUL" || log_path == "nul") return true;
#endif
  return log_path == "/dev/null";
}

// Whether anything after the flight reads its events back: the summary, the
// sound track, the report and the expectations on sounds and key events.
bool events_needed(const host::FlightScript& flight, bool summary, bool audio, bool report) {
  return summary || audio || report ||
         std::any_of(flight.expectations().begin(), flight.expectations().end(),
                     [](const host::Expectation& e) {
                       return e.kind != host::Expectation::kElement &&
                              e.kind != host::Expectation::kVar;
                     });
}

std::string folder_of(const char* path) {
  std::string p = path;
  auto slash = p.find_last_of("/\\");
  return slash == std::string::npos ? "." : p.substr(0, slash);
}

int usage(const std::string& problem) {
  std::cerr << "gaugehost: " << problem << "\n" << kUsage;
  std::cerr << "       " << host::envelope::kEnvelopeUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  // The log is the same bytes on every platform: no CR added on the way out.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc >= 2 && std::strcmp(argv[1], "envelope") == 0) {
    return host::envelope::envelope_command(std::vector<std::string>(argv + 2, argv + argc),
                                            folder_of(argv[0]), std::cerr);
  }
  if (argc < 3 || std::strcmp(argv[1], "fly") != 0) return usage("expected: fly FLIGHT");
  std::string flight_path = argv[2];
  host::HostOptions options{folder_of(argv[0]), ".", nullptr};
  std::string log_path;
  bool summary = false;
  std::string audio_path;
  std::string pictures_dir;
  std::string report_path;
  for (int i = 3; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--summary") {
      summary = true;
      continue;
    }
    if (option == "--own-copies") {
      options.own_copies = true;
      continue;
    }
    if (i + 1 >= argc) return usage("option " + option + " needs a value");
    std::string value = argv[++i];
    if (option == "--modules") {
      options.modules_dir = value;
    } else if (option == "--root") {
      options.sound_root = value;
    } else if (option == "--log") {
      log_path = value;
    } else if (option == "--audio") {
      audio_path = value;
    } else if (option == "--pictures") {
      pictures_dir = value;
    } else if (option == "--report") {
      report_path = value;
    } else {
      return usage("unknown option " + option);
    }
  }

  if (!pictures_dir.empty() && !host::render::png_supported()) {
    std::cerr << "gaugehost: --pictures: this build writes no pictures (it has no PNG library; "
                 "use the native gaugehost)\n";
    return 2;
  }
  if (!report_path.empty() && !host::render::png_supported()) {
    std::cerr << "gaugehost: --report: reports are made by the native gaugehost only (this "
                 "build has no PNG library for the panel pictures)\n";
    return 2;
  }

  try {
    host::FlightScript flight = host::FlightScript::load(flight_path);
    std::ofstream log_file;
    if (!log_path.empty() && !discards(log_path)) {
      log_file.open(log_path, std::ios::binary | std::ios::trunc);
      if (!log_file) throw host::HostError("cannot write " + log_path);
    }
    options.echo = log_path.empty() ? &std::cout : log_file.is_open() ? &log_file : nullptr;
    options.capture_events =
        events_needed(flight, summary, !audio_path.empty(), !report_path.empty());
    host::PanelHost panel(options);
    std::unique_ptr<host::render::PanelSnapshots> pictures;
    if (!pictures_dir.empty()) {
      pictures =
          std::make_unique<host::render::PanelSnapshots>(panel, pictures_dir, flight.layout());
      panel.add_frame_observer([&pictures](uint32_t frame) { pictures->after_frame(frame); });
    }
    std::unique_ptr<host::report::FlightReport> report;
    if (!report_path.empty()) {
      report = std::make_unique<host::report::FlightReport>(panel, flight, flight_path,
                                                            options.sound_root);
    }
    std::vector<std::string> failed = flight.run(panel);
    if (!audio_path.empty()) {
      host::audio::write_track(audio_path, panel.events().events(), flight.frames_per_second(),
                               options.sound_root);
    }
    if (pictures) {
      pictures->finish();
      std::cerr << "gaugehost: " << pictures->pictures()
                << " panel pictures and a contact sheet in " << pictures_dir << "\n";
    }
    if (report) {
      report->write(report_path, failed);
      std::cerr << "gaugehost: the flight's report in " << report_path << "\n";
    }
    if (summary) {
      for (const std::string& line :
           host::summarize(panel.events().events(), flight.frames_per_second())) {
        std::cout << line << "\n";
      }
    }
    for (const std::string& line : failed) std::cerr << line << "\n";
    if (!flight.expectations().empty()) {
      std::cerr << "gaugehost: " << flight.expectations().size() - failed.size() << " of "
                << flight.expectations().size() << " expectations met\n";
    }
    if (!failed.empty()) return 1;
  } catch (const host::HostError& error) {
    std::cerr << "gaugehost: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
