#pragma once
// One line of a flight and the checked reading of its words.
#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct FlightCommand {
  std::string where;  // file:line
  std::string verb;
  std::vector<std::string> args;
};

[[noreturn]] void fail_at(const FlightCommand& c, const std::string& what);

uint32_t u32_arg(const FlightCommand& c, size_t i);
int32_t i32_arg(const FlightCommand& c, size_t i);
double f64_arg(const FlightCommand& c, size_t i);
// A time in seconds, "61" or "61s", not negative.
double seconds_arg(const FlightCommand& c, size_t i);
// Argument i must be the word `word`.
void keyword_arg(const FlightCommand& c, size_t i, const char* word);

}  // namespace host
