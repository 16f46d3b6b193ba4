#include "cli.h"

#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <stdexcept>
#include <string_view>

#include "desc.h"
#include "file_output.h"
#include "formats/bmp_writer.h"
#include "image.h"
#include "wav_writer.h"

namespace assetgen {

namespace {

constexpr const char* kUsage =
    "usage: assetgen bmp OUT.bmp WIDTH HEIGHT [R G B] [--bpp 8|24]\n"
    "       assetgen bmp OUT.bmp WIDTH HEIGHT --desc DESCRIPTION.txt [--bpp 8|24]\n"
    "       assetgen wav OUT.wav CHANNELS RATE BITS DATA_BYTES [TONE_HZ]";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

using Args = std::vector<std::string>;

// Plain decimal only: no sign, spaces, or trailing characters.
int64_t parse_int(const std::string& text, const char* name, int64_t lo, int64_t hi) {
  int64_t value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (text.empty() || text[0] == '-' || ec != std::errc() || end != last || value < lo ||
      value > hi) {
    throw UsageError(std::string(name) + " must be an integer from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", got '" + text + "'");
  }
  return value;
}

int parse_choice(const std::string& text, const char* name, std::initializer_list<int> allowed) {
  std::string list;
  for (int a : allowed) {
    if (text == std::to_string(a)) return a;
    list += (list.empty() ? "" : " or ") + std::to_string(a);
  }
  throw UsageError(std::string(name) + " must be " + list + ", got '" + text + "'");
}

bool is_option(const std::string& arg) {
  return arg.size() > 2 && std::string_view(arg).substr(0, 2) == "--";
}

// Options ("--name") only where a form names them; anywhere else they are
// mistakes, not values.
void reject_options(const Args& args) {
  for (const std::string& a : args) {
    if (is_option(a)) throw UsageError("unknown option '" + a + "'");
  }
}

// Takes "--bpp N" out of args wherever it stands; 24 when absent.
int take_bits_per_pixel(Args& args) {
  int bits = 24;
  bool seen = false;
  for (std::size_t i = 0; i < args.size();) {
    if (args[i] != "--bpp") {
      ++i;
      continue;
    }
    if (seen) throw UsageError("--bpp given twice");
    if (i + 1 == args.size()) throw UsageError("--bpp needs 8 or 24 after it");
    bits = parse_choice(args[i + 1], "BPP", {8, 24});
    seen = true;
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i + 2));
  }
  return bits;
}

Bytes make_bmp(const Args& options) {
  Args args = options;
  const int bits = take_bits_per_pixel(args);
  const auto encode = bits == 8 ? formats::encode_bmp8 : formats::encode_bmp24;
  const bool described = args.size() > 2 && args[2] == "--desc";
  if (described) {
    if (args.size() != 4 || args[3].empty()) {
      throw UsageError("bmp takes WIDTH HEIGHT --desc FILE [--bpp 8|24] after the output path");
    }
    reject_options({args[0], args[1], args[3]});
  } else {
    reject_options(args);
    if (args.size() != 2 && args.size() != 5) {
      throw UsageError("bmp takes WIDTH HEIGHT [R G B] [--bpp 8|24] after the output path, got " +
                       std::to_string(args.size()) + " arguments");
    }
  }
  const auto width = static_cast<int>(parse_int(args[0], "WIDTH", 1, kMaxSide));
  const auto height = static_cast<int>(parse_int(args[1], "HEIGHT", 1, kMaxSide));
  if (described) {
    Image image = new_canvas(width, height);
    draw_description(image, read_description_file(args[3]), args[3]);
    return encode(image);
  }
  Rgb fill;
  if (args.size() == 5) {
    fill.r = static_cast<uint8_t>(parse_int(args[2], "R", 0, 255));
    fill.g = static_cast<uint8_t>(parse_int(args[3], "G", 0, 255));
    fill.b = static_cast<uint8_t>(parse_int(args[4], "B", 0, 255));
  }
  return encode(new_canvas(width, height, fill));
}

Bytes make_wav(const Args& args) {
  reject_options(args);
  if (args.size() != 4 && args.size() != 5) {
    throw UsageError(
        "wav takes CHANNELS RATE BITS DATA_BYTES [TONE_HZ] after the output path, got " +
        std::to_string(args.size()) + " arguments");
  }
  ToneRequest request;
  request.format.channels = parse_choice(args[0], "CHANNELS", {1, 2});
  request.format.sample_rate =
      static_cast<int>(parse_int(args[1], "RATE", kMinSampleRate, kMaxSampleRate));
  request.format.bits_per_sample = parse_choice(args[2], "BITS", {8, 16});
  request.data_bytes = static_cast<uint32_t>(parse_int(args[3], "DATA_BYTES", 0, kMaxDataBytes));
  if (args.size() == 5) {
    // The upper limit that depends on RATE is checked with the request.
    request.tone_hz = static_cast<int>(parse_int(args[4], "TONE_HZ", 1, kMaxSampleRate / 2));
  }
  return encode_tone_wav(request);
}

struct Kind {
  const char* name;
  Bytes (*make)(const Args&);
};

constexpr Kind kKinds[] = {{"bmp", make_bmp}, {"wav", make_wav}};

int run(const Args& args) {
  if (args.empty()) throw UsageError(std::string("nothing to do\n") + kUsage);
  const Kind* kind = nullptr;
  for (const Kind& k : kKinds) {
    if (args[0] == k.name) kind = &k;
  }
  if (kind == nullptr) {
    throw UsageError("unknown kind '" + args[0] + "' (expected bmp or wav)\n" + kUsage);
  }
  if (args.size() < 2 || args[1].empty()) {
    throw UsageError(std::string(kind->name) + " needs an output path\n" + kUsage);
  }
  const Bytes bytes = kind->make(Args(args.begin() + 2, args.end()));
  write_file_atomically(args[1], bytes);
  return kExitOk;
}

}  // namespace

int run_assetgen(const std::vector<std::string>& args, std::ostream& err) {
  try {
    return run(args);
  } catch (const UsageError& e) {
    err << "assetgen: " << e.what() << '\n';
  } catch (const std::invalid_argument& e) {
    err << "assetgen: " << e.what() << '\n';
  } catch (const OutputError& e) {
    err << "assetgen: " << e.what() << '\n';
    return kExitOutputFailed;
  } catch (const std::bad_alloc&) {
    err << "assetgen: out of memory\n";
    return kExitOutputFailed;
  }
  return kExitBadArguments;
}

}  // namespace assetgen
