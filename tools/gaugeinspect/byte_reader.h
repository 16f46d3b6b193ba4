#pragma once
// Little-endian reads from an untrusted byte buffer. Every read is checked
// against the buffer; a read that does not fit throws ByteRangeError naming
// what was being read, so a malformed file fails a test instead of reading
// past its end.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace gaugeinspect {

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

 private:
  std::span<const uint8_t> bytes_;
};

}  // namespace gaugeinspect
