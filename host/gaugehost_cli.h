#pragma once
// gaugehost's command line: fly, serve and envelope, --help and --version.
#include <ostream>
#include <string>
#include <vector>

namespace host {

// `args` are the words after the program's name; `program_dir` the folder
// gaugehost is in, where the modules are unless --modules says otherwise.
// Returns the exit status (2 for a mistake on the command line).
int run_gaugehost(const std::vector<std::string>& args, const std::string& program_dir,
                  std::ostream& out, std::ostream& err);

}  // namespace host
