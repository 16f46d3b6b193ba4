// vrn_gpws's four gauges under any input: besides the panel-wide rules, every
// deadline the module sets is disarmed or at most 54 ticks ahead of the clock
// it saw, and its latches and lamp words are 0 or 1.
#include <cstdio>
#include <string>

#include "gpws/deadline.h"
#include "gpws/gpws_state.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/fuzz/panel_watch.h"

namespace {

using gpws::GpwsState;

struct Deadline {
  const char* name;
  uint32_t GpwsState::*field;
};
constexpr Deadline kDeadlines[] = {
    {"test_deadline", &GpwsState::test_deadline},
    {"glideslope_deadline", &GpwsState::glideslope_deadline},
    {"warning_deadline", &GpwsState::warning_deadline},
    {"terrain_deadline", &GpwsState::terrain_deadline},
};
constexpr size_t kDeadlineCount = std::size(kDeadlines);
static_assert(kDeadlineCount == 4);

struct Latch {
  const char* name;
  int32_t GpwsState::*field;
};
constexpr Latch kLatches[] = {
    {"flaps_latch", &GpwsState::flaps_latch},
    {"gear_latch", &GpwsState::gear_latch},
    {"dont_sink_latch", &GpwsState::dont_sink_latch},
    {"minimums_latch", &GpwsState::minimums_latch},
    {"glideslope_latch", &GpwsState::glideslope_latch},
    {"test_active", &GpwsState::test_active},
    {"pullup_trigger", &GpwsState::pullup_trigger},
    {"sink_rate_sounding", &GpwsState::sink_rate_sounding},
    {"terrain_captured", &GpwsState::terrain_captured},
};

struct Word {
  const char* name;
  uint16_t GpwsState::*field;
};
constexpr Word kWords[] = {
    {"below_gs_lamp", &GpwsState::below_gs_lamp},
    {"inop_lamp", &GpwsState::inop_lamp},
    {"flap_inhibit_active", &GpwsState::flap_inhibit_active},
    {"flap_inhibit_selected", &GpwsState::flap_inhibit_selected},
};

// The deadlines as of the last check: only one the module has just set must
// be near the clock (after the clock jumps back, an old one is far ahead
// until the module next looks at it, which is what makes it due).
uint32_t last_deadline[kDeadlineCount];

void check_gpws(const host::PanelHost& panel, const void* state, const char* after) {
  const auto& s = *static_cast<const GpwsState*>(state);
  const uint32_t clock = gpws::clock_ticks32(const_cast<host::PanelHost&>(panel).sim().get(1));
  for (size_t i = 0; i < kDeadlineCount; ++i) {
    const uint32_t deadline = s.*kDeadlines[i].field;
    if (deadline == last_deadline[i]) continue;
    last_deadline[i] = deadline;
    if (deadline != gpws::kDisarmedDeadline && deadline - clock > gpws::kLongestDeadlineTicks)
      fuzz::fail(after, std::string(kDeadlines[i].name) + " set " +
                            std::to_string(deadline - clock) + " ticks ahead of the clock");
  }
  for (const Latch& latch : kLatches) {
    if (s.*latch.field != 0 && s.*latch.field != 1)
      fuzz::fail(after, std::string(latch.name) + " is " + std::to_string(s.*latch.field));
  }
  for (const Word& word : kWords) {
    if (s.*word.field > 1)
      fuzz::fail(after, std::string(word.name) + " is " + std::to_string(s.*word.field));
  }
}

const fuzz::Target kTarget{
    "vrn_gpws",
    {"test", "below", "inop", "fi"},
    check_gpws,
    [] {
      for (uint32_t& d : last_deadline) d = gpws::kDisarmedDeadline;
    },
};

}  // namespace

MODULE_FUZZ_TARGET(kTarget)
