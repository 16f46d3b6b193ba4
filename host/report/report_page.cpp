#include "host/report/report_page.h"

#include <cstdio>

#include "host/report/base64.h"
#include "host/report/flight_view.h"
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
#timeline-tools { margin-bottom: 6px; }
#timeline-readout { min-height: 3em; max-width: 1100px; margin-top: 6px; font-size: 13px; }
.snapshots { display: flex; flex-wrap: wrap; gap: 12px; }
.snapshots figure { margin: 0; background: #1a1c20; padding: 6px; border-radius: 4px; }
.snapshots img.panel { display: block; max-width: 420px; }
.snapshots figcaption { color: #e9ecef; font-size: 12px; max-width: 420px; margin-top: 4px; }
img.element { max-height: 2em; vertical-align: middle; margin-right: 4px; background: #1a1c20;
  image-rendering: pixelated; }
.element-count { white-space: nowrap; margin-left: 8px; }
table { border-collapse: collapse; background: #fff; }
td, th { border: 1px solid #dee2e6; padding: 3px 10px; text-align: left; font-size: 13px; }
td.time { text-align: right; font-family: monospace; }
#envelope-map { max-width: 100%; }
)";

std::string rate(double fps) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", fps);
  return text;
}

std::string seconds(uint32_t frame, double fps) {
  return flight_time(frame, fps);
}

// An <img> of the page's picture `index`, filled in by the script that
// holds the table.
std::string picture_img(size_t index, const std::string& alt, const char* css_class) {
  return "<img class=\"" + std::string(css_class) + "\" data-picture=\"" + std::to_string(index) +
         "\" alt=\"" + escape_html(alt) + "\" title=\"" + escape_html(alt) + "\">";
}

// "lamp radalt#4 shown" with the element's own picture before its name.
std::string event_html(const FlightEvent& e) {
  std::string out;
  if (e.picture) out += picture_img(*e.picture, e.element_name, "element");
  return out + escape_html(e.what);
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
      caption +=
          (caption.empty() ? "" : "; ") + std::string(kind_name(e.kind)) + " " + event_html(e);
    }
    const std::string when = seconds(s->frame, c.frames_per_second);
    page += "<figure data-frame=\"" + std::to_string(s->frame) + "\">";
    if (s->picture) page += picture_img(*s->picture, "the panel at " + when, "panel");
    page += "<figcaption><b>" + when + "</b> (frame " + std::to_string(s->frame) + "): ";
    page += caption;
    page += "</figcaption></figure>\n";
  }
  page += "</div></section>\n";
}

void what_happened(std::string& page, const ReportContent& c) {
  page +=
      "<section id=\"summary\"><h2>What happened</h2>\n<table>\n"
      "<tr><th>time</th><th>what</th><th></th></tr>\n";
  for (const FlightEvent& e : c.events) {
    page += "<tr class=\"" + std::string(kind_name(e.kind)) + "\"><td class=\"time\">" +
            seconds(e.frame, c.frames_per_second) + "</td><td>" + kind_name(e.kind) + "</td><td>" +
            event_html(e) + "</td></tr>\n";
  }
  page += "</table></section>\n";
}

// The lamps that changed, each with its picture and how often it came and went.
void elements_summary(std::string& page, const ReportContent& c) {
  std::vector<const FlightEvent*> first;
  std::vector<size_t> shown;
  std::vector<size_t> hidden;
  for (const FlightEvent& e : c.events) {
    if (e.kind != MarkKind::kLamp) continue;
    size_t i = 0;
    while (i < first.size() && (first[i]->label != e.label || first[i]->element != e.element)) ++i;
    if (i == first.size()) {
      first.push_back(&e);
      shown.push_back(0);
      hidden.push_back(0);
    }
    (e.shown ? shown : hidden)[i] += 1;
  }
  if (first.empty()) return;
  page += "<p class=\"facts elements\">Elements shown or hidden:";
  for (size_t i = 0; i < first.size(); ++i) {
    const FlightEvent& e = *first[i];
    page += " <span class=\"element-count\">";
    const std::string name = e.element_name;
    if (e.picture) page += picture_img(*e.picture, name, "element");
    page += escape_html(name) + " shown " + std::to_string(shown[i]) + "&times;, hidden " +
            std::to_string(hidden[i]) + "&times;</span>";
  }
  page += "</p>\n";
}

// The table of pictures, and where each goes.
void pictures_script(std::string& page, const ReportContent& c) {
  page += "<script>\nconst reportPictures = [";
  if (c.pictures != nullptr) {
    for (size_t i = 0; i < c.pictures->size(); ++i) {
      page += (i == 0 ? "\n\"" : ",\n\"") + base64((*c.pictures)[i]) + "\"";
    }
  }
  page +=
      "];\nfor (const img of document.querySelectorAll('img[data-picture]')) {\n"
      "  img.src = 'data:image/png;base64,' + reportPictures[img.dataset.picture];\n}\n"
      "</script>\n";
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
  page += ".</p>\n";
  elements_summary(page, c);
  page += "<section id=\"plot\"><h2>Timeline</h2>\n" + c.timeline + "</section>\n";
  page += c.side_view;
  page += "<section id=\"sound\"><h2>Sound</h2>\n";
  if (!c.track.bytes.empty()) {
    page += "<audio id=\"track\" controls preload=\"auto\" src=\"data:" + c.track.mime +
            ";base64," + base64(c.track.bytes) + "\"></audio>\n";
  } else {
    page += "<p class=\"facts\">No sound track: " + escape_html(c.no_track_why) + "</p>\n";
  }
  page += "</section>\n";
  if (!c.envelope.empty()) page += c.envelope;
  snapshots(page, c);
  what_happened(page, c);
  expectations(page, c);
  pictures_script(page, c);
  page += c.timeline_script;
  page += c.side_view_script;
  return page + "</body></html>\n";
}

}  // namespace host::report
