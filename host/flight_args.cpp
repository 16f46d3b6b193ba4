#include "host/flight_args.h"

#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>

#include "host/host_error.h"

namespace host {
namespace {

template <typename Int>
bool parse_int(const std::string& text, Int& out) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool parse_double(const std::string& text, double& out) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  in >> out;
  return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

}  // namespace

void fail_at(const FlightCommand& c, const std::string& what) {
  throw HostError(c.where + ": " + what);
}

uint32_t u32_arg(const FlightCommand& c, size_t i) {
  uint32_t v = 0;
  if (i >= c.args.size()) fail_at(c, "'" + c.verb + "' is missing a number");
  if (!parse_int(c.args[i], v)) fail_at(c, "'" + c.args[i] + "' is not a whole number");
  return v;
}

int32_t i32_arg(const FlightCommand& c, size_t i) {
  int32_t v = 0;
  if (i >= c.args.size()) fail_at(c, "'" + c.verb + "' is missing a number");
  if (!parse_int(c.args[i], v)) fail_at(c, "'" + c.args[i] + "' is not a 32-bit integer");
  return v;
}

double f64_arg(const FlightCommand& c, size_t i) {
  double v = 0;
  if (i >= c.args.size()) fail_at(c, "'" + c.verb + "' is missing a number");
  if (!parse_double(c.args[i], v)) fail_at(c, "'" + c.args[i] + "' is not a number");
  return v;
}

double seconds_arg(const FlightCommand& c, size_t i) {
  if (i >= c.args.size()) fail_at(c, "'" + c.verb + "' is missing a time");
  std::string text = c.args[i];
  if (!text.empty() && text.back() == 's') text.pop_back();
  double v = 0;
  if (!parse_double(text, v) || !std::isfinite(v) || v < 0) {
    fail_at(c, "'" + c.args[i] + "' is not a time in seconds");
  }
  return v;
}

void keyword_arg(const FlightCommand& c, size_t i, const char* word) {
  if (i >= c.args.size() || c.args[i] != word) {
    fail_at(c, "expected '" + std::string(word) + "'" +
                   (i < c.args.size() ? " instead of '" + c.args[i] + "'" : std::string()));
  }
}

}  // namespace host
