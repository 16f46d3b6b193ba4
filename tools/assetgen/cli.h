#pragma once
// The assetgen command line, apart from main() so tests can drive it in
// process:
//   assetgen bmp OUT.bmp WIDTH HEIGHT [R G B] [--bpp 8|24]
//   assetgen bmp OUT.bmp WIDTH HEIGHT --desc DESCRIPTION.txt [--bpp 8|24]
//                                                    (see desc.h)
// --bpp 8 writes a palettised bitmap (see encode_bmp8), 24 the default.
//   assetgen wav OUT.wav CHANNELS RATE BITS DATA_BYTES [TONE_HZ]
#include <ostream>
#include <string>
#include <vector>

namespace assetgen {

inline constexpr int kExitOk = 0;
inline constexpr int kExitOutputFailed = 1;
inline constexpr int kExitBadArguments = 2;

// args excludes the program name. Problems go to err as one
// "assetgen: ..." line; the return value is the process exit status. Bad
// arguments never touch the output path.
int run_assetgen(const std::vector<std::string>& args, std::ostream& err);

}  // namespace assetgen
