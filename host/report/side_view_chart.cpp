#include "host/report/side_view_chart.h"

#include "host/report/report_scripts.h"

namespace host::report {
namespace {

constexpr const char* kSideViewMarkup = R"(<section id="side-view-section"><h2>Side view</h2>
<p class="facts">The aircraft's altitude against its distance to the runway threshold, over the
terrain profile and the glide path, its trail coloured by the alert the GPWS gave there. Zooming
the timeline shows that time's part of the trail; the whole flight shows all of it.</p>
<canvas id="side-view" width="1100" height="340" style="max-width: 100%"></canvas>
<p id="side-view-legend" class="facts"></p>
</section>
)";

constexpr const char* kFollow = R"(<script>
SideView.legend(document.getElementById('side-view-legend'), sideViewData);
SideView.follow(document.getElementById('side-view'), sideViewData, window.timeline,
                timelineData.fps);
</script>
)";

}  // namespace

SideViewChart side_view_chart(const SideView& view) {
  if (!view.flown()) return {};
  return {kSideViewMarkup, "<script>\nconst sideViewData = " + view.json() +
                               ";\n</script>\n<script>" + std::string(kSideViewJs) + "</script>\n" +
                               kFollow};
}

}  // namespace host::report
