// The approach callouts as the aircraft flies them: one dot below the glide
// path under 1000 ft gives the glideslope voice and the BELOW GS lamp,
// repeating at the interval of the height of each callout; the gear up
// below 500 ft on the approach gives "too low gear".
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "flight_text.h"
#include "flown_flight.h"
#include "host/aircraft/glide_path.h"

namespace {

using aircraft_flights::FlownFlight;
using aircraft_flights::FlownFrame;
using aircraft_flights::num;

// The GPWS reads whole metres of height: an edge in feet is met within one
// metre of it.
constexpr double kOneMetreFt = 3.29;

// Frames from one glideslope callout to the next, by the height of the
// callout (above, in ft), at one tick a frame.
struct Repeat {
  double above_ft;
  uint32_t frames;
};
constexpr Repeat kRepeats[] = {{800, 54}, {600, 47}, {400, 36}, {200, 27}, {0, 18}};

// The intervals a callout at this height may repeat at: one, or the two
// either side of an edge within a metre.
std::set<uint32_t> repeat_frames(double height_ft) {
  std::set<uint32_t> out;
  for (double h : {height_ft - kOneMetreFt, height_ft + kOneMetreFt}) {
    for (const Repeat& r : kRepeats) {
      if (h > r.above_ft) {
        out.insert(r.frames);
        break;
      }
    }
  }
  return out;
}

TEST(ApproachCallouts, OneDotLowUnder1000FtTheGlideslopeVoiceAndLampRepeatByHeight) {
  // Down a 3 degree path, one dot low, from 1150 ft to about 120 ft.
  const double speed_kt = 160.0;
  const host::aircraft::GlidePath path{3.0, 0.0};
  const double start_nm = 1150.0 / (path.altitude_ft(1.0, -1.0) - path.altitude_ft(0.0, -1.0));
  const double start_ft = path.altitude_ft(start_nm, -1.0);
  const double descent_fpm =
      (path.altitude_ft(1.0, -1.0) - path.altitude_ft(0.0, -1.0)) * speed_kt / 60.0;
  const double seconds = (start_ft - 120.0) / descent_fpm * 60.0;
  const FlownFlight flight = aircraft_flights::fly(
      "gauge vrn_gpws test\ngauge vrn_gpws below\nstart\naircraft " + num(start_nm) + " nm " +
      num(start_ft) + " ft " + num(speed_kt) + " kt " + num(-descent_fpm) +
      " fpm\nglidepath 3 deg 0 ft\nfollow glidepath -1 dots\nat " + num(seconds) + "\nstop\n");
  ASSERT_EQ(flight.failures, std::vector<std::string>{});
  ASSERT_FALSE(flight.frames.empty()) << "no aircraft flew";

  const std::vector<uint32_t> voices =
      flight.frames_of(aircraft_flights::Sighting::kVoice, "glideslope");
  ASSERT_GE(voices.size(), 5u);
  // The first as the GPWS's height goes under 1000 ft, one dot low.
  const FlownFrame* first = flight.at(voices[0]);
  const FlownFrame* before = flight.at(voices[0] - 1);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(before, nullptr);
  EXPECT_LT(first->height_ft(), 1000.0 + kOneMetreFt);
  EXPECT_GE(before->height_ft(), 1000.0 - kOneMetreFt);
  // The lamp with it, lit for the rest of the approach.
  const auto lamp = flight.first_shown(aircraft_flights::kBelowGlideslopeLamp);
  ASSERT_TRUE(lamp.has_value()) << "the BELOW GS lamp never lit";
  EXPECT_LE(std::abs(int64_t{*lamp} - int64_t{voices[0]}), 1);
  EXPECT_EQ(
      flight.frames_of(aircraft_flights::Sighting::kHidden, aircraft_flights::kBelowGlideslopeLamp),
      std::vector<uint32_t>{});

  std::set<uint32_t> intervals_seen;
  for (size_t i = 0; i < voices.size(); ++i) {
    const FlownFrame* at = flight.at(voices[i]);
    ASSERT_NE(at, nullptr);
    SCOPED_TRACE("callout " + std::to_string(i) + " at frame " + std::to_string(voices[i]) + ", " +
                 num(std::round(at->height_ft())) + " ft");
    EXPECT_NEAR(at->glideslope_deviation, -63.5, 2.0) << "one dot low";
    if (i + 1 == voices.size()) break;
    const uint32_t interval = voices[i + 1] - voices[i];
    const auto allowed = repeat_frames(at->height_ft());
    EXPECT_TRUE(allowed.contains(interval)) << "repeated after " << interval << " frames";
    intervals_seen.insert(interval);
  }
  EXPECT_EQ(intervals_seen, (std::set<uint32_t>{18, 27, 36, 47, 54})) << "every interval flown";
}

TEST(ApproachCallouts, OneDotLowAbove1000FtOrOnThePathNoGlideslopeVoice) {
  const struct {
    const char* name;
    double start_ft;
    double dots;
  } cases[] = {{"one dot low above 1000 ft", 1400, -1}, {"on the path", 1000, 0}};
  const double speed_kt = 160.0;
  const host::aircraft::GlidePath path{3.0, 0.0};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const double rate_ft_per_nm = path.altitude_ft(1.0, c.dots) - path.altitude_ft(0.0, c.dots);
    const double start_nm = c.start_ft / rate_ft_per_nm;
    const double descent_fpm = rate_ft_per_nm * speed_kt / 60.0;
    // 300 ft of the approach.
    const double seconds = 300.0 / descent_fpm * 60.0;
    const FlownFlight flight = aircraft_flights::fly(
        "gauge vrn_gpws test\ngauge vrn_gpws below\nstart\naircraft " + num(start_nm) + " nm " +
        num(path.altitude_ft(start_nm, c.dots)) + " ft " + num(speed_kt) + " kt " +
        num(-descent_fpm) + " fpm\nglidepath 3 deg 0 ft\nfollow glidepath " + num(c.dots) +
        " dots\nat " + num(seconds) + "\nstop\n");
    ASSERT_EQ(flight.failures, std::vector<std::string>{});
    ASSERT_FALSE(flight.frames.empty());
    EXPECT_FALSE(flight.first_voice("glideslope").has_value());
    EXPECT_FALSE(flight.first_shown(aircraft_flights::kBelowGlideslopeLamp).has_value());
  }
}

TEST(ApproachCallouts, BackOnThePathTheLampGoesOutAndTheVoiceStops) {
  // One dot low at 900 ft for 5 s, then back up to the path.
  const double speed_kt = 160.0;
  const host::aircraft::GlidePath path{3.0, 0.0};
  const double low_ft_per_nm = path.altitude_ft(1.0, -1.0) - path.altitude_ft(0.0, -1.0);
  const double start_nm = 900.0 / low_ft_per_nm;
  const FlownFlight flight = aircraft_flights::fly(
      "gauge vrn_gpws test\ngauge vrn_gpws below\nstart\naircraft " + num(start_nm) + " nm " +
      num(path.altitude_ft(start_nm, -1.0)) + " ft " + num(speed_kt) + " kt " +
      num(-low_ft_per_nm * speed_kt / 60.0) +
      " fpm\nglidepath 3 deg 0 ft\nfollow glidepath -1 dots\nat 5\nfollow glidepath\nat 12\n"
      "stop\n");
  ASSERT_EQ(flight.failures, std::vector<std::string>{});
  const auto lit = flight.first_shown(aircraft_flights::kBelowGlideslopeLamp);
  const auto out =
      flight.first(aircraft_flights::Sighting::kHidden, aircraft_flights::kBelowGlideslopeLamp);
  ASSERT_TRUE(lit.has_value());
  ASSERT_TRUE(out.has_value()) << "the lamp stayed lit on the path";
  EXPECT_GT(*out, *lit);
  // Out as the deviation leaves the region below -59, within its one unit
  // of hysteresis.
  const FlownFrame* at = flight.at(*out);
  const FlownFrame* before = flight.at(*out - 1);
  ASSERT_NE(at, nullptr);
  ASSERT_NE(before, nullptr);
  EXPECT_GT(at->glideslope_deviation, -59.0);
  EXPECT_LE(before->glideslope_deviation, -58.0);
  const auto voices = flight.frames_of(aircraft_flights::Sighting::kVoice, "glideslope");
  ASSERT_FALSE(voices.empty());
  EXPECT_LT(voices.back(), *out) << "a glideslope callout on the path";
  EXPECT_NEAR(flight.frames.back().glideslope_deviation, 0.0, 5.0) << "back on the path";
}

// Too low gear ----------------------------------------------------------------

struct GearCase {
  const char* name;
  const char* before;  // lines before the aircraft starts
  const char* during;  // lines at 4 s into the flight
  bool voice;
};

TEST(ApproachCallouts, GearUpBelow500FtOnTheApproachGivesTooLowGear) {
  // 800 ft/min from 560 ft: through 500 ft at about 4.5 s, 440 ft at 9 s.
  const GearCase cases[] = {
      {"gear up through 500 ft", "set phase 1\n", "", true},
      {"gear down through 500 ft", "set phase 1\nset gear 16383\n", "", false},
      {"gear raised at 480 ft", "set phase 1\nset gear 16383\n", "at 6\ngear up\n", true},
      {"gear up, not on an approach", "", "", false},
  };
  for (const GearCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FlownFlight flight =
        aircraft_flights::fly(std::string("gauge vrn_gpws test\nstart\n") + c.before +
                              "aircraft 2 nm 560 ft 140 kt -800 fpm\n" + c.during + "at 9\nstop\n");
    ASSERT_EQ(flight.failures, std::vector<std::string>{});
    ASSERT_FALSE(flight.frames.empty());
    const auto voice = flight.first_voice("toolowgear");
    ASSERT_EQ(voice.has_value(), c.voice);
    if (!voice) continue;
    EXPECT_EQ(flight.frames_of(aircraft_flights::Sighting::kVoice, "toolowgear").size(), 1u)
        << "once each time below 500 ft";
    const FlownFrame* at = flight.at(*voice);
    const FlownFrame* before = flight.at(*voice - 1);
    ASSERT_NE(at, nullptr);
    ASSERT_NE(before, nullptr);
    EXPECT_LT(at->gear, 16383.0) << "not fully down";
    EXPECT_LE(at->height_ft(), 500.0 + kOneMetreFt);
    // It starts at the first frame with both: under 500 ft and the gear not down.
    EXPECT_TRUE(before->height_ft() > 500.0 - kOneMetreFt || before->gear >= 16383.0)
        << "late: the frame before was already under 500 ft with the gear not down";
  }
}

}  // namespace
