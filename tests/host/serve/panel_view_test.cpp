// The panel as the page gets it: a picture only when something visible
// changed, and the click areas where the picture shows them.
#include "host/serve/panel_view.h"

#include <gtest/gtest.h>

#include "frame/host_facts.h"
#include "host/flight_script.h"
#include "host/serve/live_exchange.h"
#include "host_fixture.h"

namespace {

TEST(PanelView, APictureOnlyWhenSomethingVisibleChanged) {
  const auto flight = host::FlightScript::parse("panel " SCENARIO_DIR "/panel.cfg\n", "p.flight");
  host::PanelHost live(testing_host::options());
  for (const host::PanelGauge& g : flight.layout()) live.add_gauge(g.module, g.gauge);
  live.start();
  live.run_frame();
  host::serve::PanelView view(live, flight.layout());
  std::optional<std::vector<uint8_t>> first = view.picture_if_changed();
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(std::string(first->begin() + 1, first->begin() + 4), "PNG");
  live.run_frame();
  EXPECT_FALSE(view.picture_if_changed().has_value()) << "nothing moved";
  live.sim().set(facts::token::kPower, 1.0);  // power: the radar altimeter's flag and pointer move
  live.sim().set(73, 100.0);
  live.run_frame();
  EXPECT_TRUE(view.picture_if_changed().has_value());

  const host::serve::PanelLayout& layout = view.layout();
  EXPECT_EQ(layout.gauges.size(), 6u);
  const host::serve::GaugeBox& radalt = layout.gauges[0];
  ASSERT_EQ(radalt.areas.size(), 4u);
  const host::serve::AreaBox& raise = radalt.areas[1];
  auto at = host::serve::gauge_at(layout, raise.x + raise.width / 2, raise.y + raise.height / 2);
  ASSERT_TRUE(at.has_value());
  EXPECT_EQ(at->label, "radalt");
  EXPECT_EQ(live.click(at->label, at->x, at->y), 2u) << "the area the page shows is the host's";
}

TEST(LiveExchange, ReadersGetTheEventsTheyHaveNotSeenAndTheLastFewHundred) {
  host::serve::LiveExchange exchange;
  std::vector<host::serve::PageEvent> events(450);
  for (size_t i = 0; i < events.size(); ++i) events[i].frame = static_cast<uint32_t>(i);
  exchange.publish({}, events);
  auto all = exchange.update(0, 0, std::chrono::milliseconds(0));
  ASSERT_EQ(all.events.size(), 400u);
  EXPECT_EQ(all.events.front().number, 51u);
  EXPECT_EQ(all.events.front().event.frame, 50u);
  auto newer = exchange.update(all.version, 440, std::chrono::milliseconds(0));
  EXPECT_EQ(newer.events.size(), 10u);
  EXPECT_EQ(newer.version, all.version) << "nothing newer came within the wait";
  exchange.push({});
  exchange.stop();
  EXPECT_EQ(exchange.take(std::chrono::hours(1)).size(), 1u) << "a stopped exchange does not wait";
  EXPECT_TRUE(exchange.stopping());
}

}  // namespace
