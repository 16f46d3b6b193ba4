// A long, varied flight through all six gauges on one host: climbs,
// approaches with the decision height armed, go-arounds, rising terrain,
// power cycles, ground self-tests and clicks on every knob, for as many
// simulated hours as asked (argument --hours=H, default 10). After every
// frame: module code allocated nothing on the heap, the radar altimeter
// shows exactly one of each of its paired elements, and the log's lines are
// well formed and in frame order.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>

#include "frame/host_facts.h"
#include "host_fixture.h"

#if defined(_WIN32)
#include "fssound/fssound_host.h"
#include "heap_imports.h"
#endif

namespace {

// Heap use by module code: counted only while the host says module code runs.
// Modules in the emulated loader have their own heap, which the loader counts
// (PanelHost::module_heap_calls); the host's own allocations are not theirs.
int module_depth = 0;
uint64_t module_allocations = 0;
bool count_native_heap = true;
uint64_t module_calls = 0;  // times the host handed control to module code

void count_module_call(int delta) {
  if (module_depth == 0 && delta > 0) ++module_calls;
  module_depth += delta;
}

void count_allocation() {
  if (module_depth > 0 && count_native_heap) ++module_allocations;
}

void* allocate(std::size_t size) {
  count_allocation();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

double soak_hours = 10.0;

}  // namespace

void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

enum Token : uint32_t {
  kAltitude = facts::token::kAltitude,
  kGround = facts::token::kGroundElevation,
  kVerticalSpeed = facts::token::kVerticalSpeed,
  kGear = facts::token::kGear,
  kFlaps = facts::token::kFlaps,
  kPhase = facts::token::kPhase,
  kGlideslope = facts::token::kGlideslopeDeviation,
  kOnGround = facts::token::kOnGround,
  kPower = facts::token::kPower,
  kTerrainHeight = facts::token::kTerrainHeight,
  kVariant = facts::token::kDisplayVariant,
  kGroundTest = facts::token::kGroundTest,
  kSound1 = facts::token::kSound1,
};

constexpr double kFps = 18.0;

// Counting works: an allocation inside a module call is seen, one outside is not.
TEST(SoakCounter, SeesOnlyAllocationsInsideModuleCalls) {
  struct Row {
    const char* name;
    int depth;
    uint64_t expected;
  };
  const Row rows[] = {{"outside module code", 0, 0}, {"inside module code", 1, 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    module_depth = row.depth;
    uint64_t before = module_allocations;
    ::operator delete(::operator new(sizeof(int)));
    module_depth = 0;
    EXPECT_EQ(module_allocations - before, row.expected);
  }
}

#if defined(_WIN32)
// A library's heap imports count too: the sound library's own runtime
// allocates the copy of a long path it keeps with each failure rule.
TEST(SoakCounter, HearsHeapCallsThroughALibrarysImports) {
  ASSERT_GT(soak::watch_heap_imports("FSSound.dll", &count_allocation), 0);
  const std::string path(100, 'p');
  for (int depth : {0, 1}) {
    SCOPED_TRACE(depth == 0 ? "outside module code" : "inside module code");
    module_depth = depth;
    uint64_t before = module_allocations;
    FSSound_HostFail(kFSSoundLoad, path.c_str(), 1);
    module_depth = 0;
    EXPECT_EQ(module_allocations > before, depth == 1);
  }
  FSSound_HostAttach("", nullptr, nullptr);
}
#endif

// What one stretch of the flight does; the generator strings them together.
enum class Leg { kGround, kClimb, kTerrain, kApproach, kGoAround, kLanding, kPowerCycle };

struct Plan {
  Leg leg;
  uint32_t frames;
  double from_m, to_m;            // altitude above sea level
  double ground_from, ground_to;  // ground elevation
};

class Soak : public ::testing::Test {
 protected:
  Soak() : panel(testing_host::options()) {
    count_native_heap = !testing_host::emulated();
    panel.named().host_storage("radalt_adi");
    panel.add_gauge("vrn_radalt", "radalt");
    for (const char* gauge : {"test", "below", "inop", "fi"}) panel.add_gauge("vrn_gpws", gauge);
    panel.add_gauge("cabsound", "XML-Sound");
#if defined(_WIN32)
    // A .gau carries its own C++ runtime, which the operator new above never
    // sees: each module's heap imports report to the same count instead.
    for (const char* file : {"vrn_radalt.gau", "vrn_gpws.gau", "cabsound.gau"}) {
      EXPECT_GE(soak::watch_heap_imports(file, &count_allocation), 0) << file << " is not loaded";
    }
#endif
  }
  ~Soak() override {
    host::module_call_hook = nullptr;
    count_native_heap = true;
  }

  // Heap calls of module code so far, wherever its modules are.
  uint64_t heap_calls() const {
    return count_native_heap ? module_allocations : panel.module_heap_calls();
  }

  void set(Token token, double value) {
    panel.sim().set(token, value);
  }

  // Checks and then forgets the events published since the last call.
  void check_log(const char* where) {
    const std::vector<host::Event>& events = panel.events().events();
    for (const host::Event& e : events) {
      if (e.frame < last_stamp || e.frame > panel.frame()) {
        ADD_FAILURE() << where << ": event out of order after frame " << last_stamp << ": "
                      << host::event_text(e);
        ++failures;
      }
      last_stamp = e.frame;
    }
    lines_seen += events.size();
    panel.events().clear();
  }

  void check_frame(uint64_t allocations_before) {
    char where[64];
    std::snprintf(where, sizeof where, "frame %u", static_cast<unsigned>(panel.frame()));
    if (heap_calls() != allocations_before) {
      ADD_FAILURE() << where << ": module code allocated " << heap_calls() - allocations_before
                    << " times";
      ++failures;
    }
    struct Pair {
      size_t a, b;
    };
    for (Pair pair : {Pair{2, 3}, Pair{7, 8}, Pair{9, 10}}) {
      bool a = !panel.element_hidden("radalt", pair.a);
      bool b = !panel.element_hidden("radalt", pair.b);
      if (a == b) {
        ADD_FAILURE() << where << ": radalt elements " << pair.a << "/" << pair.b
                      << (a ? " both shown" : " both hidden");
        ++failures;
      }
    }
    check_log(where);
  }

  // One frame of a leg, `i` frames into it; clicks land between frames.
  void fly(const Plan& plan, uint32_t i) {
    double t = plan.frames > 1 ? static_cast<double>(i) / (plan.frames - 1) : 1.0;
    double alt = plan.from_m + (plan.to_m - plan.from_m) * t;
    double ground = plan.ground_from + (plan.ground_to - plan.ground_from) * t;
    double vs_fpm = (plan.to_m - plan.from_m) * 3.28 * 60.0 * kFps / plan.frames;
    bool on_ground = plan.leg == Leg::kGround || (plan.leg == Leg::kLanding && t > 0.9);
    if (on_ground) alt = ground;
    set(kAltitude, alt);
    set(kGround, ground * 256.0);
    set(kTerrainHeight, alt - ground);
    set(kVerticalSpeed, on_ground ? 0.0 : vs_fpm);
    set(kOnGround, on_ground ? 1.0 : 0.0);
    set(kPhase, plan.leg == Leg::kApproach || plan.leg == Leg::kLanding ? 1.0
                : plan.leg == Leg::kClimb || plan.leg == Leg::kGoAround ? -1.0
                                                                        : 0.0);
    bool low = plan.leg == Leg::kApproach || plan.leg == Leg::kLanding;
    set(kGear, low && t > 0.3 ? 16383.0 : 0.0);
    set(kFlaps, low ? (t > 0.7 ? 16383.0 : 8000.0) : 0.0);
    set(kGlideslope, plan.leg == Leg::kApproach && t > 0.4 && t < 0.5 ? -80.0 : 0.0);
    set(kPower, plan.leg == Leg::kPowerCycle && i < plan.frames / 2 ? 0.0 : 1.0);
    set(kGroundTest, plan.leg == Leg::kGround && i > 40 && i < 80 ? 1.0 : 0.0);
    // Cockpit sound triggers: short pulses on each channel in turn.
    uint32_t channel = (i / 200) % 4;
    for (uint32_t c = 0; c < 4; ++c) {
      set(static_cast<Token>(kSound1 + 19 * c), c == channel && i % 200 < 3 ? 1.0 : 0.0);
    }
    if (i % 97 == 5) set(kVariant, (i / 97) % 2);

    uint64_t before = heap_calls();
    if (plan.leg == Leg::kGround && i == 20) panel.click("test", 23, 23);  // self-test
    if (i % 150 == 75) panel.click_area("fi", 1);                          // flap inhibit
    if (plan.leg == Leg::kApproach && i < 12) panel.click_area("radalt", 1 + (i % 3 == 2 ? 1 : 0));
    if (plan.leg == Leg::kApproach && i == 12) panel.click_area("radalt", 3);  // SET
    if (plan.leg == Leg::kGoAround && i == 30) panel.click_area("radalt", 4);  // OFF
    panel.run_frame();
    check_frame(before);
  }

  Plan next_plan(std::mt19937& random, double& altitude) {
    static constexpr Leg kCycle[] = {Leg::kGround,   Leg::kClimb,     Leg::kTerrain,
                                     Leg::kApproach, Leg::kGoAround,  Leg::kApproach,
                                     Leg::kLanding,  Leg::kPowerCycle};
    Leg leg = kCycle[step++ % std::size(kCycle)];
    uint32_t spread = random() % 1000;
    uint32_t frames = 900 + spread * 3;
    double from = altitude;
    Plan plan{leg, frames, from, from, 0.0, 0.0};
    switch (leg) {
      case Leg::kGround:
      case Leg::kPowerCycle:
        plan.from_m = plan.to_m = 0.0;
        plan.frames = 400 + spread / 4;
        break;
      case Leg::kClimb:
      case Leg::kGoAround:
        plan.to_m = 400.0 + spread;
        break;
      case Leg::kTerrain:
        plan.ground_to = 50.0 + spread / 4.0;
        plan.ground_from = 0.0;
        break;
      case Leg::kApproach:
        plan.to_m = 20.0 + spread / 50.0;
        break;
      case Leg::kLanding:
        plan.to_m = 0.0;
        plan.frames = 600;
        break;
    }
    altitude = plan.to_m;
    return plan;
  }

  host::PanelHost panel;
  uint32_t last_stamp = 0;
  uint64_t lines_seen = 0;
  int failures = 0;
  size_t step = 0;
};

TEST_F(Soak, ModulesRunForHoursWithoutAllocatingOrBreakingTheirDisplays) {
  const auto frames_total = static_cast<uint64_t>(soak_hours * 3600.0 * kFps);
  auto started = std::chrono::steady_clock::now();
  host::module_call_hook = &count_module_call;
  uint64_t before = heap_calls();
  panel.start();
  EXPECT_EQ(heap_calls(), before) << "module code allocated while starting";
  check_log("start");

  std::mt19937 random(20261208);  // fixed: every run flies the same flight
  double altitude = 0.0;
  uint64_t flown = 0;
  while (flown < frames_total && failures < 20) {
    Plan plan = next_plan(random, altitude);
    for (uint32_t i = 0; i < plan.frames && flown < frames_total && failures < 20; ++i, ++flown) {
      fly(plan, i);
    }
  }
  EXPECT_EQ(flown, frames_total);
  EXPECT_GT(module_calls, flown * 6);  // every gauge was updated on every frame
  EXPECT_GT(lines_seen, flown);        // the flight did things worth logging

  before = heap_calls();
  panel.stop();
  EXPECT_EQ(heap_calls(), before) << "module code allocated while stopping";
  host::module_call_hook = nullptr;

  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("soaked %.2f simulated hours (%llu frames, %llu log lines) in %.1f s\n", soak_hours,
              static_cast<unsigned long long>(flown), static_cast<unsigned long long>(lines_seen),
              seconds);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--hours=", 8) == 0) soak_hours = std::atof(argv[i] + 8);
  }
  return RUN_ALL_TESTS();
}
