#include "tone_math.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace assetgen {

namespace {

constexpr double kHalfPi = 1.57079632679489661923;

// Taylor series on [0, pi/2]; the first omitted term is below 1e-16.
constexpr int kLastSineTerm = 21;

constexpr auto kInverseFactorial = [] {
  std::array<double, kLastSineTerm + 2> table{};
  double f = 1.0;
  for (std::size_t n = 0; n < table.size(); ++n) {
    if (n > 1) f *= static_cast<double>(n);
    table[n] = 1.0 / f;
  }
  return table;
}();

constexpr double inverse_factorial(int n) {
  return kInverseFactorial[static_cast<std::size_t>(n)];
}

double sine_poly(double a) {
  const double x = a * a;
  double sum = 0.0;
  for (int n = kLastSineTerm; n >= 3; n -= 2) {
    const double c = ((n - 1) / 2) % 2 == 0 ? inverse_factorial(n) : -inverse_factorial(n);
    sum = (sum + c) * x;
  }
  return a * (1.0 + sum);
}

double cosine_poly(double a) {
  const double x = a * a;
  double sum = 0.0;
  for (int n = kLastSineTerm + 1; n >= 2; n -= 2) {
    const double c = (n / 2) % 2 == 0 ? inverse_factorial(n) : -inverse_factorial(n);
    sum = (sum + c) * x;
  }
  return 1.0 + sum;
}

}  // namespace

double turn_sine(uint64_t num, uint64_t den) {
  // Quadrant and offset in exact integers, so whole quarter turns give
  // exactly 0 and +-1.
  const uint64_t scaled = (num % den) * 4u;
  const uint64_t quadrant = scaled / den;
  const double a = static_cast<double>(scaled % den) / static_cast<double>(den) * kHalfPi;
  switch (quadrant) {
    case 0:
      return sine_poly(a);
    case 1:
      return cosine_poly(a);
    case 2:
      return -sine_poly(a);
    default:
      return -cosine_poly(a);
  }
}

int32_t round_clamped(double value, int32_t lo, int32_t hi) {
  if (std::isnan(value)) return lo > 0 ? lo : (hi < 0 ? hi : 0);
  if (value <= static_cast<double>(lo)) return lo;
  if (value >= static_cast<double>(hi)) return hi;
  const double r = std::round(value);  // now strictly inside an int32_t range
  return static_cast<int32_t>(r);
}

}  // namespace assetgen
