#pragma once
// The limits of one request to the live panel, said in `serve --help` and
// the README; larger requests are refused with the status named.
#include <cstddef>

namespace host::serve {

inline constexpr size_t kMaxBody = 4096;         // bytes of body, however sent (413)
inline constexpr size_t kMaxHeaderBlock = 8192;  // bytes of header lines (431)
inline constexpr size_t kMaxHeaderLines = 100;   // header lines (431)
inline constexpr size_t kMaxTarget = 2048;       // bytes of path and query (414)
inline constexpr int kRequestSeconds = 5;        // from a request's first byte to its last

}  // namespace host::serve
