#pragma once
// Little-endian reads from an untrusted byte buffer. Every read is checked
// against the buffer; a read that does not fit throws ByteRangeError naming
// the field being read, so a malformed file is reported instead of read past
// its end. The format readers in this folder read their records through it,
// one call per field, each named after the field.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace formats {

struct ByteRangeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t size() const { return bytes_.size(); }

  bool fits(uint64_t offset, uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }

  void require(uint64_t offset, uint64_t length, const char* what) const {
    if (!fits(offset, length)) {
      throw ByteRangeError(std::string(what) + ": " + std::to_string(length) + " bytes at " +
                           std::to_string(offset) + " lie outside the " +
                           std::to_string(bytes_.size()) + "-byte buffer");
    }
  }

  uint8_t u8(uint64_t offset, const char* what) const {
    require(offset, 1, what);
    return bytes_[static_cast<size_t>(offset)];
  }

  uint16_t u16(uint64_t offset, const char* what) const {
    require(offset, 2, what);
    const size_t at = static_cast<size_t>(offset);
    return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
  }

  uint32_t u32(uint64_t offset, const char* what) const {
    require(offset, 4, what);
    const size_t at = static_cast<size_t>(offset);
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes_[at + i]) << (8 * i);
    return value;
  }

  // Two's complement, which C++20 defines for the conversion.
  int16_t i16(uint64_t offset, const char* what) const {
    return static_cast<int16_t>(u16(offset, what));
  }
  int32_t i32(uint64_t offset, const char* what) const {
    return static_cast<int32_t>(u32(offset, what));
  }

  std::span<const uint8_t> bytes(uint64_t offset, uint64_t length, const char* what) const {
    require(offset, length, what);
    return bytes_.subspan(static_cast<size_t>(offset), static_cast<size_t>(length));
  }

  // A NUL-terminated string that must end inside the buffer.
  std::string c_string(uint64_t offset, const char* what) const {
    require(offset, 1, what);
    std::string text;
    for (size_t at = static_cast<size_t>(offset); at < bytes_.size(); ++at) {
      if (bytes_[at] == 0) return text;
      text.push_back(static_cast<char>(bytes_[at]));
    }
    throw ByteRangeError(std::string(what) + ": no terminating NUL before the end of the buffer");
  }

  // Four ASCII characters, as file formats use for signatures and chunk tags.
  std::string tag(uint64_t offset, const char* what) const {
    const std::span<const uint8_t> b = bytes(offset, 4, what);
    return std::string(b.begin(), b.end());
  }

  // Whether the bytes at `offset` are `expected` (false when they do not fit).
  bool has_tag(uint64_t offset, std::string_view expected) const {
    if (!fits(offset, expected.size())) return false;
    for (size_t i = 0; i < expected.size(); ++i) {
      if (bytes_[static_cast<size_t>(offset) + i] != static_cast<uint8_t>(expected[i])) {
        return false;
      }
    }
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
};

}  // namespace formats
