#pragma once
// The x87 registers hold 80-bit extended values; an i686 function returning
// double leaves one in st0. Converted here with integer arithmetic only (round
// to nearest, ties to even), so the result never depends on the host's FPU.
#include <cstdint>

namespace host::emu {

// `mantissa` holds the explicit integer bit at bit 63; `sign_exponent` the
// sign at bit 15 and the biased exponent below it.
double x87_to_double(uint64_t mantissa, uint16_t sign_exponent);

}  // namespace host::emu
