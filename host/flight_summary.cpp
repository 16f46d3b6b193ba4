#include "host/flight_summary.h"

#include <cstdio>
#include <cstdlib>

namespace host {
namespace {

bool starts(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::vector<std::string> summarize(const std::vector<std::string>& log, double frames_per_second) {
  std::vector<std::string> out;
  for (const std::string& line : log) {
    size_t space = line.find(' ');
    std::string text = line.substr(space + 1);
    std::string what;
    if (starts(text, "sound play ")) {
      size_t q = text.find('"');
      what = "voice  " + text.substr(q + 1, text.find('"', q + 1) - q - 1);
    } else if (starts(text, "key_event ")) {
      what = "key    " + text.substr(10, text.find(' ', 10) - 10);
    } else if (starts(text, "var ")) {
      what = "var    " + text.substr(4);
    } else if (starts(text, "element ") && text.find(" flags ") == std::string::npos) {
      what = "lamp   " + text.substr(8);
    } else {
      continue;
    }
    double seconds = std::strtod(line.substr(0, space).c_str(), nullptr) / frames_per_second;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8.2f s  ", seconds);
    out.push_back(stamp + what);
  }
  return out;
}

}  // namespace host
