#include "tools/gaugeinspect/cli.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <system_error>

#include "cli/command_line.h"
#include "tools/gaugeinspect/checks.h"
#include "tools/gaugeinspect/json_report.h"
#include "tools/gaugeinspect/module_reader.h"
#include "tools/gaugeinspect/text_report.h"

namespace gaugeinspect {
namespace {

Module load(const std::string& path) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) throw formats::PeError("cannot open " + path + ": " + ec.message());
  if (size > kMaxFileBytes) {
    throw formats::PeError(path + ": " + std::to_string(size) +
                           " bytes is more than a gauge module holds");
  }
  return read_module(formats::read_file_bytes(path));
}

int check_files(const std::vector<std::string>& files, std::ostream& out) {
  int status = 0;
  for (const std::string& path : files) {
    std::vector<std::string> problems;
    try {
      problems = check_module(load(path));
    } catch (const std::runtime_error& e) {
      problems.push_back(e.what());
    }
    for (const std::string& p : problems) out << path << ": " << printable(p) << "\n";
    if (!problems.empty()) {
      status = 1;
    } else {
      out << (files.size() == 1 ? "" : path + ": ") << "ok\n";
    }
  }
  return status;
}

}  // namespace

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app(
      "Shows a gauge module's records and resources, read from its file bytes, or checks "
      "them.",
      "gaugeinspect");
  command_line::set_up(app);
  bool json = false;
  bool check = false;
  std::vector<std::string> files;
  app.add_flag("--json", json, "the whole module as one JSON document");
  app.add_flag("--check", check,
               "check the structural rules of each FILE; \"ok\" when all hold,\n"
               "exit status 1 on a violation");
  app.add_option("FILE", files, "a gauge module (.gau); several only with --check")
      ->type_name("")
      ->required();
  app.footer("Without --json or --check: the whole module as text.");
  if (auto status = command_line::parse(app, args, out, err)) return *status;
  if (json && check)
    return command_line::mistake("gaugeinspect", "--json or --check, not both", err);
  if (!check && files.size() != 1) {
    return command_line::mistake("gaugeinspect", "one FILE at a time, or several with --check",
                                 err);
  }
  if (check) return check_files(files, out);
  try {
    const Module m = load(files.front());
    out << (json ? json_text(json_report(m)) : text_report(m));
    return 0;
  } catch (const std::runtime_error& e) {
    err << "gaugeinspect: " << printable(e.what()) << "\n";
    return 1;
  }
}

}  // namespace gaugeinspect
