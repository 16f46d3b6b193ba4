#pragma once
// The report's side view of a flight with an aircraft (side_view.h): its
// canvas under the timeline, its data and the shared drawing script, which
// follows the timeline's zoom: the trail of the time the timeline shows,
// scaled to it, and the whole flight when it shows all of it.
#include <string>

#include "host/report/side_view.h"

namespace host::report {

struct SideViewChart {
  std::string markup;  // section#side-view-section; empty when no aircraft flew
  // The data (const sideViewData) and the scripts that draw it; after the
  // timeline's, whose plot it follows.
  std::string script;
};

SideViewChart side_view_chart(const SideView& view);

}  // namespace host::report
