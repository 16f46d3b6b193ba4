#include "host/flight_summary.h"

#include <cstdio>

#include "host/event_marks.h"
#include "host/report/flight_view.h"

namespace host {

std::vector<std::string> summarize(const std::vector<Event>& events, double frames_per_second) {
  std::vector<std::string> out;
  for (const Event& e : events) {
    const std::optional<Mark> mark = mark_of(e);
    if (!mark) continue;
    char column[16];
    std::snprintf(column, sizeof column, "  %-7s", mark_kind_row(mark->kind()).summary_column);
    out.push_back(report::flight_time(e.frame, frames_per_second, 8) + column +
                  mark->summary_text());
  }
  return out;
}

}  // namespace host
