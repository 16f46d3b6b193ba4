// The side view's trail: every frame of a short flight, a bounded number of
// points of a long one, and the frames where the alert changes kept.
#include "host/report/side_view_trail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using host::report::GpwsAlert;
using host::report::Trail;
using host::report::TrailPoint;

// Frames 1..frames, 3 nm out descending, with the alert `alert_at` gives.
Trail fly(size_t most, uint32_t frames, const std::function<GpwsAlert(uint32_t)>& alert_at) {
  Trail trail(most);
  for (uint32_t f = 1; f <= frames; ++f) {
    trail.add({f, 3.0 - f * 0.002, 1000.0 - f * 0.8, alert_at(f)});
  }
  return trail;
}

const TrailPoint* at_frame(const Trail& trail, uint32_t frame) {
  for (const TrailPoint& p : trail.points()) {
    if (p.frame == frame) return &p;
  }
  return nullptr;
}

TEST(SideViewTrail, AShortFlightKeepsEveryFrame) {
  const Trail trail = fly(100, 80, [](uint32_t) { return GpwsAlert::kNone; });
  ASSERT_EQ(trail.points().size(), 80u);
  EXPECT_EQ(trail.stride(), 1u);
  for (uint32_t f = 1; f <= 80; ++f) EXPECT_EQ(trail.points()[f - 1].frame, f);
}

TEST(SideViewTrail, ALongFlightStaysWithinItsPointsEvenlyToTheNewestFrame) {
  for (uint32_t frames : {101u, 1000u, 64800u}) {
    SCOPED_TRACE(frames);
    const Trail trail = fly(100, frames, [](uint32_t) { return GpwsAlert::kNone; });
    const auto& points = trail.points();
    ASSERT_LE(points.size(), 100u);
    EXPECT_GE(points.size(), 40u);
    EXPECT_EQ(points.front().frame, 1u);
    EXPECT_EQ(points.back().frame, frames) << "the aircraft now";
    EXPECT_DOUBLE_EQ(points.back().altitude_ft, 1000.0 - frames * 0.8);
    for (size_t i = 1; i < points.size(); ++i) {
      EXPECT_LE(points[i].frame - points[i - 1].frame, trail.stride()) << "at point " << i;
    }
  }
}

TEST(SideViewTrail, WhereTheAlertChangesStaysToTheFrame) {
  // A second of caution, then a warning, in an hour of frames thinned hard.
  const auto alert_at = [](uint32_t f) {
    if (f >= 30000 && f < 30018) return GpwsAlert::kCaution;
    if (f >= 30018 && f < 30100) return GpwsAlert::kWarning;
    return GpwsAlert::kNone;
  };
  const Trail trail = fly(200, 64800, alert_at);
  ASSERT_LE(trail.points().size(), 200u);
  struct Edge {
    uint32_t frame;
    GpwsAlert alert;
  };
  for (const Edge& e : {Edge{29999, GpwsAlert::kNone}, Edge{30000, GpwsAlert::kCaution},
                        Edge{30017, GpwsAlert::kCaution}, Edge{30018, GpwsAlert::kWarning},
                        Edge{30099, GpwsAlert::kWarning}, Edge{30100, GpwsAlert::kNone}}) {
    SCOPED_TRACE(e.frame);
    const TrailPoint* p = at_frame(trail, e.frame);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->alert, e.alert);
  }
  for (const TrailPoint& p : trail.points()) EXPECT_EQ(p.alert, alert_at(p.frame)) << p.frame;
}

TEST(SideViewTrail, AnAlertComingAndGoingEveryFrameStaysWithinItsPoints) {
  const Trail trail = fly(
      100, 20000, [](uint32_t f) { return f % 2 == 0 ? GpwsAlert::kWarning : GpwsAlert::kNone; });
  EXPECT_LE(trail.points().size(), 100u);
  EXPECT_EQ(trail.points().back().frame, 20000u);
}

}  // namespace
