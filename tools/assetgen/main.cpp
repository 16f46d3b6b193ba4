// Build-time generator of the bitmaps and WAV files the gauges and tests use.
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return assetgen::run_assetgen(args, std::cerr);
}
