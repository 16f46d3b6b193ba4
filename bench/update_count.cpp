// Flies the six gauges of the demo panel for a number of frames in one
// state, for callgrind: update_count STATE FRAMES. Every gauge is updated
// once per frame, and after its update the host asks each of its needles'
// value callbacks once.
#include <cstdlib>
#include <iostream>
#include <string>

#include "bench/bench_panel.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: update_count cruise|approach|terrain|selftest FRAMES\n";
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
  bench::BenchPanel bp(state);
  for (long i = 0; i < frames; ++i) {
    bp.step(false);
    bp.host().run_frame();
  }
  std::cout << frames << " frames, " << bp.host().events().events().size() << " events\n";
  return 0;
}
