// gaugeinspect: shows a gauge module's records and resources from its file
// bytes, or checks them; see cli.h.
#include <iostream>
#include <string>
#include <vector>

#include "tools/gaugeinspect/cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return gaugeinspect::run_cli(args, std::cout, std::cerr);
}
