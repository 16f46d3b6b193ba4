// The track of a real flight: the GPWS self-test flown through the host with
// the generated tones, heard where its voices played and silent elsewhere.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/audio/track_mixer.h"
#include "host/flight_script.h"
#include "host_fixture.h"

namespace {

struct Stretch {
  const char* name;
  double from_s, to_s;  // seconds of flight
  bool heard;
};

TEST(FlightTrack, SelfTestIsHeardWhereItsVoicesPlayed) {
  const host::FlightScript flight = host::FlightScript::load(SCENARIO_DIR "/self_test.flight");
  host::PanelHost panel(testing_host::options());
  const std::vector<std::string> failed = flight.run(panel);
  ASSERT_TRUE(failed.empty()) << failed.front();
  const std::vector<int16_t> track =
      host::audio::mix_track(panel.events().events(), flight.frames_per_second(), SIM_ROOT);

  const double rate = host::audio::kTrackRate;
  // The flight is stopped at 5 s; each generated tone lasts 0.2 s.
  ASSERT_EQ(track.size(), static_cast<size_t>(5 * rate));
  const std::vector<Stretch> stretches = {
      {"before the test switch", 0.0, 1.0, false},
      {"click and glideslope", 1.0, 1.2, true},
      {"until the pull-up", 1.2, 2.5, false},
      {"pull-up", 2.5, 2.7, true},
      {"until the second click", 2.7, 4.0, false},
      {"second click", 4.0, 4.2, true},
      {"after it", 4.2, 5.0, false},
  };
  for (const Stretch& s : stretches) {
    SCOPED_TRACE(s.name);
    const size_t from = static_cast<size_t>(s.from_s * rate);
    const size_t to = static_cast<size_t>(s.to_s * rate);
    if (s.heard) {
      // Inside the tones' 10 ms fades: a half-scale sine has an RMS near 11585.
      const size_t fade = static_cast<size_t>(0.01 * rate);
      double energy = 0.0;
      for (size_t i = from + fade; i < to - fade; ++i) energy += double(track[i]) * track[i];
      const double rms = std::sqrt(energy / static_cast<double>(to - from - 2 * fade));
      EXPECT_GT(rms, 8000.0);
    } else {
      size_t loud = 0;
      for (size_t i = from; i < to; ++i) loud += track[i] != 0 ? 1 : 0;
      EXPECT_EQ(loud, 0u) << "nonzero samples in silence";
    }
  }
}

}  // namespace
