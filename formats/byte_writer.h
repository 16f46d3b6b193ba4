#pragma once
// Little-endian field writers: every file format written here stores its
// integers that way, whatever the machine running the program.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace formats {

using Bytes = std::vector<uint8_t>;

inline void put_u8(Bytes& out, uint8_t value) {
  out.push_back(value);
}

inline void put_u16(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFFu));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void put_u32(Bytes& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<uint8_t>((value >> shift) & 0xFFu));
  }
}

inline void put_i32(Bytes& out, int32_t value) {
  put_u32(out, static_cast<uint32_t>(value));
}

// Signatures and chunk tags such as "RIFF" and "BM", without the NUL. Byte
// by byte: GCC 12 misreads a range insert of a literal as an overflow.
template <std::size_t N>
inline void put_tag(Bytes& out, const char (&tag)[N]) {
  for (std::size_t i = 0; i + 1 < N; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace formats
