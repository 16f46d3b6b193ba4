#pragma once
// Text on its way out of the host to the page, once: file names, flight
// lines, gauge labels and messages may hold any bytes, but what reaches a
// JSON string, a header or a saved flight's comment is valid UTF-8 with no
// control characters, so no answer fails on it and no comment ends early.
#include <string>
#include <string_view>

namespace host::serve {

// `text` with each byte that is not part of valid UTF-8, each control
// character (C0, DEL, C1) written as \xHH (C1 as \u00HH); everything else,
// backslashes too, as it is. Valid text without control characters comes
// back unchanged.
std::string shown_text(std::string_view text);

// A file name for a download: `stem` (any bytes) as ASCII letters, digits,
// '-', '_' and '.', anything else as '_'.
std::string ascii_file_name(std::string_view stem);

// A Content-Disposition value for `name` (any bytes): an ASCII file name
// for every browser, and when that is not the name, the shown name in full
// as filename* (RFC 5987).
std::string attachment_header(std::string_view name);

}  // namespace host::serve
