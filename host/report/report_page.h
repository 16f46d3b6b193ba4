#pragma once
// The report page: one self-contained HTML file, everything embedded (the
// plot as inline SVG, the panel pictures and the sound track as data: URIs),
// so it opens anywhere without other files or a network.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/report/flight_recorder.h"

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
  std::string timeline_svg;
  std::vector<const EventSnapshot*> snapshots;
  size_t event_frames = 0;           // snapshots shown may be a sample of these
  std::vector<std::string> summary;  // host::summarize lines
  std::vector<ExpectationResult> expectations;
  std::vector<uint8_t> wav;  // empty: no track
  std::string no_track_why;
};

std::string report_page(const ReportContent& content);

}  // namespace host::report
