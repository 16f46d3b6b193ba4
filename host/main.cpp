// gaugehost: flies a flight through the gauge modules and prints the event
// log, or maps the GPWS envelope; see gaugehost_cli.h.
#include <iostream>
#include <string>
#include <vector>

#include "host/gaugehost_cli.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

std::string folder_of(const char* path) {
  std::string p = path;
  auto slash = p.find_last_of("/\\");
  return slash == std::string::npos ? "." : p.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  // The log is the same bytes on every platform: no CR added on the way out.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  return host::run_gaugehost(std::vector<std::string>(argv + 1, argv + argc), folder_of(argv[0]),
                             std::cout, std::cerr);
}
