// Flies the six gauges of the demo panel for a number of frames in one
// state: update_count STATE FRAMES [GAU_DIR]. Every gauge is updated once
// per frame, and after its update the host asks each of its needles' value
// callbacks once. Natively it is run under callgrind; with GAU_DIR it flies
// the real .gau files there in the emulated loader, which counts the
// instructions itself: FRAMES frames first, then FRAMES more, and prints
// "GAUGE STATE INSTRUCTIONS" per frame of the second run for each gauge
// (its update and its needles' value callbacks, as callgrind counts them).
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>

#include "bench/bench_panel.h"

namespace {

// Instructions of each gauge's update and needle callbacks so far.
std::map<std::string, uint64_t> frame_instructions(host::PanelHost& panel) {
  std::map<std::string, uint64_t> by_gauge;
  for (const host::ModuleSpace::CallCount& c : panel.space().instruction_counts()) {
    if (c.call == "update" || c.call == "a needle callback") by_gauge[c.gauge] += c.instructions;
  }
  return by_gauge;
}

void fly(bench::BenchPanel& bp, long frames) {
  for (long i = 0; i < frames; ++i) {
    bp.step(false);
    bp.host().run_frame();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: update_count cruise|approach|terrain|selftest FRAMES [GAU_DIR]\n";
    return 2;
  }
  const std::string name = argv[1];
  bench::State state = bench::State::kCruise;
  if (name == "approach")
    state = bench::State::kApproach;
  else if (name == "terrain")
    state = bench::State::kTerrain;
  else if (name == "selftest")
    state = bench::State::kSelfTest;
  else if (name != "cruise") {
    std::cerr << "update_count: unknown state " << name << "\n";
    return 2;
  }
  const long frames = std::strtol(argv[2], nullptr, 10);
  if (argc == 3) {
    bench::BenchPanel bp(state);
    fly(bp, frames);
    std::cout << frames << " frames, " << bp.host().events().events().size() << " events\n";
    return 0;
  }
  host::HostOptions options{argv[3], SIM_ROOT, nullptr};
  options.loader = "emulated";
  options.emulation.count_instructions = true;
  bench::BenchPanel bp(state, options);
  fly(bp, frames);
  const std::map<std::string, uint64_t> before = frame_instructions(bp.host());
  fly(bp, frames);
  for (const auto& [gauge, after] : frame_instructions(bp.host())) {
    const auto was = before.find(gauge);
    const uint64_t flown = after - (was != before.end() ? was->second : 0);
    std::cout << gauge << " " << name << " " << flown / static_cast<uint64_t>(frames) << "\n";
  }
  return 0;
}
