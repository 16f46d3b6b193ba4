// inspect_golden EXPECTED.json ACTUAL.json: compares gaugeinspect's output
// with a hand-written description (see golden_match.h). Prints each
// difference and exits 1 when there is one.
#include <fstream>
#include <iostream>
#include <sstream>

#include "tests/tools/gaugeinspect/golden_match.h"

namespace {

std::string read_text(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot open ") + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: inspect_golden EXPECTED.json ACTUAL.json\n";
    return 2;
  }
  try {
    const auto expected = inspect_tests::parse_json(read_text(argv[1]));
    const auto actual = inspect_tests::parse_json(read_text(argv[2]));
    const auto misses = inspect_tests::golden_mismatches(expected, actual);
    for (const std::string& m : misses) std::cout << argv[1] << ": " << m << "\n";
    if (!misses.empty()) return 1;
    std::cout << argv[1] << ": matches\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "inspect_golden: " << e.what() << "\n";
    return 2;
  }
}
