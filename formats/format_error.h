#pragma once
// What the format code throws for data it cannot read or write: a picture
// of an impossible size, a bitmap that ends early, more colours than a
// palette holds. Callers that speak to a user add where the data came from.
#include <stdexcept>
#include <string>

namespace formats {

struct FormatError : std::invalid_argument {
  explicit FormatError(const std::string& what) : std::invalid_argument(what) {}
};

}  // namespace formats
