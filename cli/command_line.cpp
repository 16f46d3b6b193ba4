#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include "cli/build_info.h"

namespace command_line {
namespace {

// "gaugehost fly" when the mistake was inside fly's words.
std::string command_named(const CLI::App& app) {
  std::string name = app.get_name();
  for (const CLI::App* at = &app; !at->get_subcommands().empty();) {
    at = at->get_subcommands().front();
    name += " " + at->get_name();
  }
  return name;
}

}  // namespace

void set_up(CLI::App& app) {
  app.set_version_flag("--version", version_line(app.get_name()),
                       "Print which build this is and exit");
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  // CLI11 reads /name as an option on Windows; here it is a path, as Wine
  // passes it and as the tests write it.
  app.allow_windows_style_options(false);
}

std::optional<int> parse(CLI::App& app, const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err) {
  // CLI11 takes the words last first.
  std::vector<std::string> words(args.rbegin(), args.rend());
  try {
    app.parse(words);
    return std::nullopt;
  } catch (const CLI::ParseError& e) {
    // Help and the version line are "errors" with exit code 0; CLI11 prints
    // them, the help of the subcommand asked about.
    if (e.get_exit_code() == 0) return app.exit(e, out, err);
    // CLI11 looks for what is missing before what is too much; a word it
    // could not place (a wrong option, most likely) is the one to name.
    const std::vector<std::string> unread = app.remaining(true);
    if (unread.empty()) return mistake(command_named(app), e.what(), err);
    std::string what = unread.size() == 1 ? "The following argument was not expected:"
                                          : "The following arguments were not expected:";
    for (const std::string& word : unread) what += " " + word;
    return mistake(command_named(app), what, err);
  }
}

int mistake(const std::string& command, const std::string& what, std::ostream& err) {
  err << command << ": " << what << "\nRun '" << command << " --help' for more information.\n";
  return kUsageError;
}

}  // namespace command_line
