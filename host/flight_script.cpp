#include "host/flight_script.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>

#include "fssound/fssound_host.h"
#include "host/host_error.h"

namespace host {
namespace {

struct Syntax {
  const char* verb;
  size_t min_args;
  size_t max_args;
};

constexpr Syntax kSyntax[] = {
    {"gauge", 2, 2},  {"start", 0, 0}, {"set", 2, 2},  {"seti", 2, 2},
    {"frames", 1, 1}, {"click", 3, 3}, {"send", 2, 2}, {"register", 1, 1},
    {"write", 2, 2},  {"fail", 2, 3},  {"stop", 0, 0}, {"ticks_per_frame", 1, 1},
    {"clock", 1, 1},  {"ramp", 4, 64},
};

template <typename Int>
bool parse_int(const std::string& text, Int& out) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool parse_double(const std::string& text, double& out) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  in >> out;
  return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

[[noreturn]] void fail_at(const FlightCommand& c, const std::string& what) {
  throw HostError(c.where + ": " + what);
}

uint32_t u32_arg(const FlightCommand& c, size_t i) {
  uint32_t v = 0;
  if (!parse_int(c.args[i], v)) fail_at(c, "'" + c.args[i] + "' is not a whole number");
  return v;
}

int32_t i32_arg(const FlightCommand& c, size_t i) {
  int32_t v = 0;
  if (!parse_int(c.args[i], v)) fail_at(c, "'" + c.args[i] + "' is not a 32-bit integer");
  return v;
}

double f64_arg(const FlightCommand& c, size_t i) {
  double v = 0;
  if (!parse_double(c.args[i], v)) fail_at(c, "'" + c.args[i] + "' is not a number");
  return v;
}

// Every argument is checked here, before the flight runs.
void check(const FlightCommand& c) {
  const Syntax* syntax = nullptr;
  for (const Syntax& s : kSyntax) {
    if (c.verb == s.verb) syntax = &s;
  }
  if (syntax == nullptr) fail_at(c, "unknown command '" + c.verb + "'");
  if (c.args.size() < syntax->min_args || c.args.size() > syntax->max_args) {
    fail_at(c, "'" + c.verb + "' takes " + std::to_string(syntax->min_args) +
                   (syntax->max_args != syntax->min_args ? " to " + std::to_string(syntax->max_args)
                                                         : "") +
                   " argument(s)");
  }
  if (c.verb == "set") u32_arg(c, 0), f64_arg(c, 1);
  if (c.verb == "seti") u32_arg(c, 0), i32_arg(c, 1);
  if (c.verb == "frames") u32_arg(c, 0);
  if (c.verb == "ticks_per_frame" || c.verb == "clock") f64_arg(c, 0);
  if (c.verb == "ramp") {
    u32_arg(c, 0);
    if ((c.args.size() - 1) % 3 != 0)
      fail_at(c, "ramp takes N, then TOKEN FROM TO for each variable");
    for (size_t i = 1; i < c.args.size(); i += 3)
      u32_arg(c, i), f64_arg(c, i + 1), f64_arg(c, i + 2);
  }
  if (c.verb == "click") i32_arg(c, 1), i32_arg(c, 2);
  if (c.verb == "send") u32_arg(c, 1);
  if (c.verb == "write") i32_arg(c, 1);
  if (c.verb == "fail") {
    if (c.args[0] != "load" && c.args[0] != "play") fail_at(c, "fail takes 'load' or 'play'");
    if (c.args.size() == 3) i32_arg(c, 2);
  }
}

// Each frame of a ramp sets its variables first, then runs.
void ramp(const FlightCommand& c, PanelHost& host) {
  uint32_t count = u32_arg(c, 0);
  for (uint32_t frame = 1; frame <= count; ++frame) {
    for (size_t i = 1; i < c.args.size(); i += 3) {
      double from = f64_arg(c, i + 1);
      double to = f64_arg(c, i + 2);
      host.sim().set(u32_arg(c, i), from + (to - from) * frame / count);
    }
    host.run_frame();
  }
}

void execute(const FlightCommand& c, PanelHost& host) {
  const auto& a = c.args;
  if (c.verb == "gauge") {
    host.add_gauge(a[0], a[1]);
  } else if (c.verb == "start") {
    host.start();
  } else if (c.verb == "set") {
    host.sim().set(u32_arg(c, 0), f64_arg(c, 1));
  } else if (c.verb == "seti") {
    host.sim().set_int(u32_arg(c, 0), i32_arg(c, 1));
  } else if (c.verb == "frames") {
    host.run_frames(u32_arg(c, 0));
  } else if (c.verb == "click") {
    host.click(a[0], i32_arg(c, 1), i32_arg(c, 2));
  } else if (c.verb == "send") {
    host.send(a[0], u32_arg(c, 1));
  } else if (c.verb == "register") {
    host.named().host_storage(a[0]);
  } else if (c.verb == "write") {
    host.named().write(a[0], i32_arg(c, 1));
  } else if (c.verb == "fail") {
    uint32_t op = a[0] == "load" ? kFSSoundLoad : kFSSoundPlay;
    FSSound_HostFail(op, a[1].c_str(), a.size() == 3 ? i32_arg(c, 2) : -1);
  } else if (c.verb == "ramp") {
    ramp(c, host);
  } else if (c.verb == "ticks_per_frame") {
    host.set_ticks_per_frame(f64_arg(c, 0));
  } else if (c.verb == "clock") {
    host.set_clock(f64_arg(c, 0));
  } else if (c.verb == "stop") {
    host.stop();
  }
}

}  // namespace

FlightScript FlightScript::parse(const std::string& text, const std::string& file_name) {
  FlightScript script;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    FlightCommand command{file_name + ":" + std::to_string(number), {}, {}};
    if (!(words >> command.verb)) continue;
    for (std::string word; words >> word;) command.args.push_back(word);
    check(command);
    script.commands_.push_back(std::move(command));
  }
  return script;
}

FlightScript FlightScript::load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw HostError("cannot read flight " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str(), path);
}

void FlightScript::run(PanelHost& host) const {
  for (const FlightCommand& command : commands_) {
    try {
      execute(command, host);
    } catch (const HostError& error) {
      std::string what = error.what();
      if (what.rfind(command.where, 0) == 0) throw;
      throw HostError(command.where + ": " + what);
    }
  }
  host.stop();
}

}  // namespace host
