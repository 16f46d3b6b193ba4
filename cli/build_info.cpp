#include "cli/build_info.h"

namespace command_line {
namespace {

// The Windows build runs under Wine too; its logs must match the native
// ones, so a bug report has to say which of the two it came from.
#if defined(_WIN32)
constexpr const char* kPlatform = "Windows build";
#else
constexpr const char* kPlatform = "native build";
#endif

}  // namespace

std::string version_line(const std::string& program) {
  const std::string commit = GAUGES_COMMIT;
  return program + " " + GAUGES_VERSION + " (" + (commit.empty() ? "" : "commit " + commit + ", ") +
         kPlatform + ")";
}

}  // namespace command_line
