#pragma once
// The command line of gaugeinspect, apart from main() so tests can run it.
//
//   gaugeinspect FILE            the whole module as text
//   gaugeinspect --json FILE     the same as one JSON document
//   gaugeinspect --check FILE... the structural rules; "ok" when all hold
//   gaugeinspect --help, --version
//
// Exit status: 0 done (and, with --check, every rule held), 1 a file could
// not be read or broke a rule, 2 a wrong command line.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace gaugeinspect {

// Files larger than this are refused before they are read whole; gauge
// modules are a few hundred kilobytes.
inline constexpr uint64_t kMaxFileBytes = 64ull << 20;

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace gaugeinspect
