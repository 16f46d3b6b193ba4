#pragma once
// Arithmetic behind the generated sounds. Library sin() may differ in the
// last bit between C runtimes; these use only + - * / on doubles, so every
// IEEE machine produces the same samples.
#include <cstdint>

namespace assetgen {

// sin(2*pi * num / den). Precondition: 0 < den < 2^62.
double turn_sine(uint64_t num, uint64_t den);

// Rounds half away from zero into [lo, hi]; NaN gives the value nearest
// zero in the range and infinities saturate, so no input is undefined.
int32_t round_clamped(double value, int32_t lo, int32_t hi);

}  // namespace assetgen
