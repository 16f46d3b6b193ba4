#include "host/report/flight_report.h"

#include <algorithm>
#include <cstdio>

#include "formats/atomic_file.h"
#include "host/host_error.h"
#include "host/panel_host.h"
#include "host/render/png_writer.h"
#include "host/report/base64.h"
#include "host/report/envelope_track.h"
#include "host/report/html_text.h"
#include "host/report/page_track.h"
#include "host/report/report_page.h"
#include "host/report/side_view_chart.h"
#include "host/report/timeline_chart.h"

namespace host::report {
namespace {

// The page's rows of the flight's results, in the flight's order.
std::vector<ExpectationResult> page_rows(const std::vector<host::ExpectationResult>& results) {
  std::vector<ExpectationResult> out;
  for (const host::ExpectationResult& r : results) out.push_back({r.where, r.text, r.met, r.why});
  return out;
}

// The envelope map with the track, or why there is none.
std::string envelope_section(const ReportSetup& setup, const std::vector<FlightSample>& samples,
                             double fps) {
  std::string out =
      "<section id=\"envelope\"><h2>The GPWS envelope and this flight</h2>\n"
      "<p class=\"facts\">Where the GPWS module alerts, found by flying it (as <code>gaugehost "
      "envelope</code> does, " +
      std::to_string(kReportEnvelopeGrid) + " &times; " + std::to_string(kReportEnvelopeGrid) +
      " cells a map), with this flight's track drawn over it in light blue: height above ground "
      "against vertical speed, and height above the terrain against closure rate (over the "
      "second before).</p>\n";
  if (setup.envelope) {
    out +=
        "<img id=\"envelope-map\" alt=\"the GPWS envelope with the flight's track\" "
        "src=\"data:image/png;base64," +
        base64(render::png_bytes(envelope_with_track(*setup.envelope, samples, fps))) + "\">\n";
  } else {
    out += "<p class=\"facts\">No envelope map: " + escape_html(setup.no_envelope_why) + "</p>\n";
  }
  return out + "</section>\n";
}

}  // namespace

ReportSetup prepare_report(const FlightScript& flight, envelope::SweepSetup where) {
  ReportSetup setup{std::move(where), std::nullopt, ""};
  const auto& gauges = flight.layout();
  if (std::none_of(gauges.begin(), gauges.end(),
                   [](const PanelGauge& g) { return g.module == "vrn_gpws"; })) {
    return setup;
  }
  try {
    setup.envelope = sweep_envelope(setup.where);
  } catch (const HostError& error) {
    setup.no_envelope_why = error.what();
  }
  return setup;
}

FlightReport::FlightReport(PanelHost& panel, const FlightScript& flight, std::string title,
                           ReportSetup setup)
    : panel_(panel),
      flight_(flight),
      title_(std::move(title)),
      setup_(std::move(setup)),
      recorder_(panel, flight.layout()),
      side_view_(panel, flight.frames_per_second(), kMostReportTrailPoints) {
  panel_.add_frame_observer([this](uint32_t frame) {
    recorder_.after_frame(frame);
    side_view_.after_frame(frame);
  });
}

std::string FlightReport::page(const std::vector<host::ExpectationResult>& results) const {
  const std::vector<Event>& log = panel_.events().events();
  const double fps = flight_.frames_per_second();
  ReportContent c;
  c.title = title_;
  c.frames_per_second = fps;
  c.frames = recorder_.samples().empty() ? 0 : recorder_.samples().back().frame;
  TimelineChart timeline =
      timeline_chart(recorder_.samples(), recorder_.events(), fps, recorder_.has_decision_height());
  c.timeline = std::move(timeline.markup);
  c.timeline_script = std::move(timeline.script);
  SideViewChart side_view = side_view_chart(side_view_);
  c.side_view = std::move(side_view.markup);
  c.side_view_script = std::move(side_view.script);
  c.snapshots = recorder_.snapshots();
  c.event_frames = recorder_.event_frames();
  c.events = recorder_.events();
  c.pictures = &recorder_.pictures().pngs();
  c.expectations = page_rows(results);
  try {
    c.track = page_track(log, fps, c.frames / fps, setup_.where.sound_root);
  } catch (const HostError& error) {
    // The rest of the report still tells the story.
    c.no_track_why = error.what();
  }
  if (recorder_.has_gpws()) c.envelope = envelope_section(setup_, recorder_.samples(), fps);
  return report_page(c);
}

void FlightReport::write(const std::string& path,
                         const std::vector<host::ExpectationResult>& results) const {
  write_text_file(path, page(results));
}

void write_text_file(const std::string& path, const std::string& text) {
  if (auto why = formats::write_file_atomically(path, text)) {
    throw HostError("cannot write " + path + ": " + *why);
  }
}

}  // namespace host::report
