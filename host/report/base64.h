#pragma once
// Base64 (RFC 4648, with padding) for the data: URIs the report page embeds.
#include <cstdint>
#include <string>
#include <vector>

namespace host::report {

std::string base64(const std::vector<uint8_t>& bytes);

}  // namespace host::report
