#pragma once
// Which build a program is, for --version and for bug reports.
#include <string>

namespace command_line {

// "gaugehost 1.0.0 (commit 297f339abcde, native build)"; the commit is the
// one checked out when the build was configured, left out when unknown.
std::string version_line(const std::string& program);

}  // namespace command_line
