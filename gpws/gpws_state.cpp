#include "gpws/gpws_state.h"

#include <iterator>

#include "frame/host_facts.h"
#include "gpws/deadline.h"

namespace gpws {
namespace {

static_assert(std::size(facts::kGpwsSoundPaths) == kSlotCount);

constexpr GpwsState initial_state() {
  GpwsState s{};
  s.test_deadline = kDisarmedDeadline;
  s.glideslope_deadline = kDisarmedDeadline;
  s.warning_deadline = kDisarmedDeadline;
  s.terrain_deadline = kDisarmedDeadline;
  for (size_t i = 0; i < kSlotCount; ++i) s.slot[i].path = facts::kGpwsSoundPaths[i];
  return s;
}

}  // namespace

constinit GpwsState gpws_state = initial_state();

}  // namespace gpws
