#include "host/report/report_page.h"

#include <cstdio>

#include "host/report/base64.h"
#include "host/report/html_text.h"

namespace host::report {
namespace {

constexpr const char* kStyle = R"(
body { font-family: sans-serif; margin: 24px; color: #212529; background: #f8f9fa; }
h1 { font-size: 22px; margin-bottom: 4px; }
h2 { font-size: 17px; margin-top: 28px; }
.facts { color: #495057; }
.met { color: #2b8a3e; font-weight: bold; }
.failed { color: #c92a2a; font-weight: bold; }
#timeline { width: 100%; max-width: 1100px; background: #fff; border: 1px solid #dee2e6; }
#timeline .panel { fill: #fff; stroke: #adb5bd; }
#timeline .grid { stroke: #e9ecef; }
#timeline path.series { fill: none; stroke-width: 2; }
#timeline text { font-family: monospace; font-size: 11px; fill: #343a40; }
#timeline .axis-title { font-family: sans-serif; font-size: 13px; }
#timeline .marker line { stroke-width: 1; opacity: 0.7; }
.snapshots { display: flex; flex-wrap: wrap; gap: 12px; }
.snapshots figure { margin: 0; background: #1a1c20; padding: 6px; border-radius: 4px; }
.snapshots img { display: block; max-width: 420px; }
.snapshots figcaption { color: #e9ecef; font-size: 12px; max-width: 420px; margin-top: 4px; }
table { border-collapse: collapse; background: #fff; }
td, th { border: 1px solid #dee2e6; padding: 3px 10px; text-align: left; font-size: 13px; }
td.time { text-align: right; font-family: monospace; }
)";

std::string rate(double fps) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", fps);
  return text;
}

std::string seconds(uint32_t frame, double fps) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", frame / fps);
  return text;
}

void snapshots(std::string& page, const ReportContent& c) {
  page += "<section id=\"snapshots\"><h2>The panel at the events</h2>\n";
  if (c.snapshots.size() < c.event_frames) {
    page += "<p class=\"facts\">" + std::to_string(c.snapshots.size()) + " of " +
            std::to_string(c.event_frames) + " frames with events, evenly spread.</p>\n";
  }
  page += "<div class=\"snapshots\">\n";
  for (const EventSnapshot* s : c.snapshots) {
    std::string caption;
    for (const FlightEvent& e : s->events) {
      caption += (caption.empty() ? "" : "; ") + std::string(kind_name(e.kind)) + " " + e.what;
    }
    const std::string when = seconds(s->frame, c.frames_per_second);
    page += "<figure data-frame=\"" + std::to_string(s->frame) + "\">";
    if (!s->png.empty()) {
      page += "<img alt=\"the panel at " + when + "\" src=\"data:image/png;base64," +
              base64(s->png) + "\">";
    }
    page += "<figcaption><b>" + when + "</b> (frame " + std::to_string(s->frame) +
            "): " + escape_html(caption) + "</figcaption></figure>\n";
  }
  page += "</div></section>\n";
}

void summary(std::string& page, const ReportContent& c) {
  page +=
      "<section id=\"summary\"><h2>What happened</h2>\n<table>\n"
      "<tr><th>time</th><th>what</th></tr>\n";
  for (const std::string& line : c.summary) {
    // "   12.06 s  voice  Sound\glideslope.wav"
    const size_t unit = line.find(" s  ");
    std::string time = unit == std::string::npos ? "" : line.substr(0, unit + 2);
    time.erase(0, time.find_first_not_of(' '));
    const std::string what = unit == std::string::npos ? line : line.substr(unit + 4);
    page += "<tr><td class=\"time\">" + escape_html(time) + "</td><td>" + escape_html(what) +
            "</td></tr>\n";
  }
  page += "</table></section>\n";
}

void expectations(std::string& page, const ReportContent& c) {
  page += "<section id=\"expectations\"><h2>Expectations</h2>\n";
  if (c.expectations.empty()) {
    page += "<p class=\"facts\">This flight expects nothing.</p></section>\n";
    return;
  }
  page += "<table>\n<tr><th>expect</th><th>line</th><th>result</th></tr>\n";
  for (const ExpectationResult& e : c.expectations) {
    page += "<tr><td>" + escape_html(e.text) + "</td><td>" + escape_html(e.where) + "</td><td>" +
            (e.met ? "<span class=\"met\">met</span>"
                   : "<span class=\"failed\">failed</span>: " + escape_html(e.why)) +
            "</td></tr>\n";
  }
  page += "</table></section>\n";
}

}  // namespace

std::string report_page(const ReportContent& c) {
  size_t met = 0;
  for (const ExpectationResult& e : c.expectations) met += e.met ? 1 : 0;
  std::string page = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>" +
                     escape_html(c.title) + "</title>\n<style>" + kStyle +
                     "</style></head>\n<body>\n";
  const std::string name = c.title.substr(c.title.find_last_of("/\\") + 1);
  page += "<h1>" + escape_html(name) + "</h1>\n<p class=\"facts\">" + escape_html(c.title) + ": " +
          seconds(c.frames, c.frames_per_second) + ", " + std::to_string(c.frames) + " frames at " +
          rate(c.frames_per_second) + " per second";
  if (!c.expectations.empty()) {
    page += "; <span class=\"" + std::string(met == c.expectations.size() ? "met" : "failed") +
            "\">" + std::to_string(met) + " of " + std::to_string(c.expectations.size()) +
            " expectations met</span>";
  }
  page += ".</p>\n<section id=\"plot\"><h2>Timeline</h2>\n" + c.timeline_svg + "</section>\n";
  page += "<section id=\"sound\"><h2>Sound</h2>\n";
  if (!c.wav.empty()) {
    page += "<audio id=\"track\" controls src=\"data:audio/wav;base64," + base64(c.wav) +
            "\"></audio>\n";
  } else {
    page += "<p class=\"facts\">No sound track: " + escape_html(c.no_track_why) + "</p>\n";
  }
  page += "</section>\n";
  snapshots(page, c);
  summary(page, c);
  expectations(page, c);
  return page + "</body></html>\n";
}

}  // namespace host::report
