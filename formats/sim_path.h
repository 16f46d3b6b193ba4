#pragma once
// Where a file a module names relative to the simulator's main folder
// ("Sound\minimums.wav") lies under the folder the host was given.
#include <string>
#include <string_view>

namespace formats {

// ROOT/RELATIVE with '/' as the separator. In the Windows build a Unix root
// (the host under Wine handed a Linux path) gets Z:, which Wine maps to /.
std::string sim_file_path(const std::string& root, std::string_view relative);

}  // namespace formats
