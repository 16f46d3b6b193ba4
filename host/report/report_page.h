#pragma once
// The report page: one self-contained HTML file, everything embedded (the
// plot and its script, the pictures and the sound track as data: URIs), so
// it opens anywhere without other files or a network. Each different
// picture is in the page once, in a script's table; every <img> that shows
// it names it with data-picture="INDEX".
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/report/flight_recorder.h"
#include "host/report/page_track.h"

namespace host::report {

struct ExpectationResult {
  std::string where;  // file:line
  std::string text;
  bool met = true;
  std::string why;  // when failed
};

struct ReportContent {
  std::string title;  // the flight file
  double frames_per_second = 18.0;
  uint32_t frames = 0;
  std::string timeline;         // the plot's markup
  std::string timeline_script;  // its data and scripts, after the picture table
  // The side view of a flight with an aircraft (markup, and its scripts
  // after the timeline's); both empty otherwise.
  std::string side_view;
  std::string side_view_script;
  std::string envelope;  // the envelope map's markup; empty without a GPWS
  std::vector<const EventSnapshot*> snapshots;
  size_t event_frames = 0;          // snapshots shown may be a sample of these
  std::vector<FlightEvent> events;  // the "what happened" table
  // Every picture the page shows, each once; snapshots and events refer
  // to them by index.
  const std::vector<std::vector<uint8_t>>* pictures = nullptr;
  std::vector<ExpectationResult> expectations;
  PageTrack track;  // no bytes: no track
  std::string no_track_why;
};

std::string report_page(const ReportContent& content);

}  // namespace host::report
