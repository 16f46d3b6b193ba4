#pragma once
// The command lines of gaugehost and gaugeinspect, read with CLI11 the same
// way: --help and --version answer on standard output and end the program
// with 0; a mistake is named on the error output with a pointer to --help and
// ends it with kUsageError.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace command_line {

inline constexpr int kUsageError = 2;

// Gives `app` its --version flag, has a repeated option keep its last value,
// as these programs always did, and reads only --name as an option, on
// Windows too. Call before adding subcommands, which take these rules from
// their parent.
void set_up(CLI::App& app);

// Reads `args` (the words after the program's name) into `app`. Returns the
// exit status when the program is done (help, version, a mistake), nothing
// when it should go on with what was read.
std::optional<int> parse(CLI::App& app, const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err);

// Names a mistake on the command line that CLI11 cannot see (the words are
// well formed but do not go together), the way parse() names the others:
// "COMMAND: WHAT" and a pointer to COMMAND --help. Returns kUsageError.
int mistake(const std::string& command, const std::string& what, std::ostream& err);

}  // namespace command_line
