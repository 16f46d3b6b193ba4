#include "host/emulated/x87_double.h"

#include <bit>

namespace host::emu {
namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;
constexpr uint64_t kDoubleSign = uint64_t{1} << 63;
constexpr uint64_t kDoubleInfinity = uint64_t{0x7ff} << 52;
constexpr uint64_t kDoubleQuiet = uint64_t{1} << 51;
constexpr uint64_t kFractionMask = (uint64_t{1} << 52) - 1;

// `m` shifted right by `drop` bits, rounded to nearest, ties to even.
uint64_t shift_rounded(uint64_t m, int drop) {
  if (drop <= 0) return m;
  if (drop > 64) return 0;
  const uint64_t kept = drop == 64 ? 0 : m >> drop;
  const uint64_t rest = drop == 64 ? m : m & ((uint64_t{1} << drop) - 1);
  const uint64_t half = uint64_t{1} << (drop - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) return kept + 1;
  return kept;
}

}  // namespace

double x87_to_double(uint64_t mantissa, uint16_t sign_exponent) {
  const uint64_t sign = (sign_exponent & 0x8000) != 0 ? kDoubleSign : 0;
  const int biased = sign_exponent & 0x7fff;
  if (biased == 0x7fff) {
    const uint64_t fraction = mantissa << 1;
    if (fraction == 0) return std::bit_cast<double>(sign | kDoubleInfinity);
    return std::bit_cast<double>(sign | kDoubleInfinity | kDoubleQuiet |
                                 ((mantissa >> 11) & kFractionMask));
  }
  if (mantissa == 0) return std::bit_cast<double>(sign);
  // value = mantissa * 2^(exponent - 63), normalised so that bit 63 is set.
  const int lead = std::countl_zero(mantissa);
  const uint64_t m = mantissa << lead;
  const int exponent = (biased == 0 ? 1 : biased) - kExtendedBias - lead;
  if (exponent > kDoubleBias) return std::bit_cast<double>(sign | kDoubleInfinity);
  if (exponent >= 1 - kDoubleBias) {
    uint64_t significand = shift_rounded(m, 11);  // 53 bits, or 2^53 after rounding up
    int e = exponent;
    if (significand == (uint64_t{1} << 53)) {
      significand >>= 1;
      ++e;
    }
    if (e > kDoubleBias) return std::bit_cast<double>(sign | kDoubleInfinity);
    return std::bit_cast<double>(sign | (uint64_t(e + kDoubleBias) << 52) |
                                 (significand & kFractionMask));
  }
  // Subnormal: rounding up to 2^52 gives the smallest normal, bit for bit.
  const int drop = 11 + (1 - kDoubleBias - exponent);
  return std::bit_cast<double>(sign | shift_rounded(m, drop));
}

}  // namespace host::emu
