#include "tools/gaugeinspect/cli.h"

#include <filesystem>
#include <system_error>

#include "tools/gaugeinspect/checks.h"
#include "tools/gaugeinspect/json_report.h"
#include "tools/gaugeinspect/module_reader.h"
#include "tools/gaugeinspect/text_report.h"

namespace gaugeinspect {
namespace {

enum class Mode { kText, kJson, kCheck };

constexpr const char* kUsage =
    "usage: gaugeinspect [--json] FILE\n"
    "       gaugeinspect --check FILE...\n";

Module load(const std::string& path) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) throw PeError("cannot open " + path + ": " + ec.message());
  if (size > kMaxFileBytes) {
    throw PeError(path + ": " + std::to_string(size) + " bytes is more than a gauge module holds");
  }
  return read_module(read_file_bytes(path));
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
  Mode mode = Mode::kText;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--json" && mode == Mode::kText && files.empty()) {
      mode = Mode::kJson;
    } else if (a == "--check" && mode == Mode::kText && files.empty()) {
      mode = Mode::kCheck;
    } else if (a == "--help" || a == "-h") {
      out << kUsage;
      return 0;
    } else if (!a.empty() && a[0] == '-') {
      err << "gaugeinspect: unknown option " << a << "\n" << kUsage;
      return 2;
    } else {
      files.push_back(a);
    }
  }
  if (files.empty() || (mode != Mode::kCheck && files.size() != 1)) {
    err << kUsage;
    return 2;
  }
  if (mode == Mode::kCheck) return check_files(files, out);
  try {
    const Module m = load(files.front());
    out << (mode == Mode::kJson ? json_report(m).dump() : text_report(m));
    return 0;
  } catch (const std::runtime_error& e) {
    err << "gaugeinspect: " << printable(e.what()) << "\n";
    return 1;
  }
}

}  // namespace gaugeinspect
