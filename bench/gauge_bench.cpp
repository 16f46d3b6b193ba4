// Per-update and per-frame cost of the gauges on the real host, natively,
// optimised and without sanitizers. See docs/performance.md.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/bench_panel.h"
#include "frame/records.h"
#include "host/render/bitmap_library.h"
#include "host/render/flight_layout.h"
#include "host/render/panel_picture.h"

namespace {

using bench::BenchPanel;
using bench::State;
using Clock = std::chrono::steady_clock;

// One gauge's update: every frame all six gauges are updated in panel order
// (the GPWS needs the radar altimeter), and only the named one's call is
// timed. The call is the host's: the callback and the host's look at what it
// changed.
void BM_GaugeUpdate(benchmark::State& st, std::string label, State state) {
  BenchPanel bp(state);
  host::PanelHost& panel = bp.host();
  for (auto _ : st) {
    bp.step(true);
    double seconds = 0.0;
    for (const std::string& l : bp.labels()) {
      if (l != label) {
        panel.send(l, frame::kServiceUpdate);
        continue;
      }
      auto start = Clock::now();
      panel.send(l, frame::kServiceUpdate);
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    st.SetIterationTime(seconds);
  }
  st.counters["events"] = static_cast<double>(panel.events().events().size());
}

// What the timing of one call costs by itself.
void BM_TimerOverhead(benchmark::State& st) {
  for (auto _ : st) {
    auto start = Clock::now();
    benchmark::ClobberMemory();
    st.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}

// A whole frame of the six gauges, without rendering. `capture`: every event
// is kept (dropped every million), as the report and the expectations need;
// else nobody reads them, as for a flight whose log goes nowhere. Measured
// once the kept events have been dropped a first time, so the figure is the
// steady frame rate and not the one-time growth of the store to its size
// (the end-to-end hour below includes that).
void BM_Frame(benchmark::State& st, State state, bool capture) {
  BenchPanel bp(state);
  host::PanelHost& panel = bp.host();
  panel.events().set_capture(capture);
  for (uint32_t i = 0; i < bench::kWarmUpFrames; ++i) {
    bp.step(false);
    panel.run_frame();
  }
  for (auto _ : st) {
    bp.step(false);
    panel.run_frame();
  }
  st.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(st.iterations()), benchmark::Counter::kIsRate);
}

// One picture of the demo panel, its bitmaps already decoded.
void BM_RenderPanel(benchmark::State& st) {
  BenchPanel bp(State::kApproach);
  host::PanelHost& panel = bp.host();
  for (int i = 0; i < 100; ++i) {
    bp.step(false);
    panel.run_frame();
  }
  host::render::BitmapLibrary bitmaps;
  auto layout = host::render::arrange_panel(panel, host::load_panel(PANEL_CFG).gauges(), bitmaps);
  for (auto _ : st) {
    host::render::Image picture = host::render::panel_picture(panel, layout, bitmaps);
    benchmark::DoNotOptimize(picture);
  }
}

// Updates measured per gauge and state: a fixed number, since the
// iterations are timed by hand and the other gauges' updates are not.
constexpr int64_t kUpdates = 40000;

void register_all() {
  const State states[] = {State::kCruise, State::kApproach, State::kTerrain, State::kSelfTest};
  benchmark::RegisterBenchmark("timer_overhead", BM_TimerOverhead)
      ->UseManualTime()
      ->Iterations(kUpdates);
  for (const char* label : {"radalt", "test", "fi", "below", "inop", "XML-Sound"}) {
    for (State s : states) {
      std::string name = std::string("update/") + label + "/" + bench::state_name(s);
      benchmark::RegisterBenchmark(name.c_str(), BM_GaugeUpdate, std::string(label), s)
          ->UseManualTime()
          ->Iterations(kUpdates);
    }
  }
  for (State s : states) {
    for (bool capture : {true, false}) {
      std::string name =
          std::string("frame/") + bench::state_name(s) + (capture ? "/captured" : "/off");
      benchmark::RegisterBenchmark(name.c_str(), BM_Frame, s, capture);
    }
  }
  benchmark::RegisterBenchmark("render/demo_panel", BM_RenderPanel)->Unit(benchmark::kMicrosecond);
}

// Registered before main, as the library's own registration macros do.
[[maybe_unused]] const bool registered = (register_all(), true);

}  // namespace

BENCHMARK_MAIN();
