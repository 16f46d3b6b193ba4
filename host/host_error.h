#pragma once
#include <stdexcept>
#include <string>

namespace host {

// A mistake in what the host was asked to do (a missing module, an unknown
// gauge, a malformed flight): reported with a clear message, never a crash.
struct HostError : std::runtime_error {
  explicit HostError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace host
