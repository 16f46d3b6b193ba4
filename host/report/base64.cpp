#include "host/report/base64.h"

namespace host::report {

std::string base64(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = uint32_t{bytes[i]} << 16 | uint32_t{bytes[i + 1]} << 8 | bytes[i + 2];
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += kDigits[v >> 6 & 63];
    out += kDigits[v & 63];
  }
  const size_t left = bytes.size() - i;
  if (left > 0) {
    uint32_t v = uint32_t{bytes[i]} << 16;
    if (left == 2) v |= uint32_t{bytes[i + 1]} << 8;
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += left == 2 ? kDigits[v >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace host::report
