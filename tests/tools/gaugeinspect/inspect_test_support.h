#pragma once
// Shared by the gaugeinspect tests: reading a built module and finding a
// violation among the check's lines.
#include <string>
#include <vector>

#include "tests/tools/gaugeinspect/pe_builder.h"
#include "tools/gaugeinspect/checks.h"
#include "tools/gaugeinspect/module_reader.h"

namespace inspect_tests {

inline std::string joined_lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  return text;
}

inline bool has_line_containing(const std::vector<std::string>& lines, const std::string& part) {
  for (const std::string& l : lines) {
    if (l.find(part) != std::string::npos) return true;
  }
  return false;
}

inline std::vector<std::string> check_bytes(const Bytes& file) {
  return gaugeinspect::check_module(gaugeinspect::read_module(file));
}

}  // namespace inspect_tests
