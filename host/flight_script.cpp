#include "host/flight_script.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "frame/convert.h"
#include "fssound/fssound_host.h"
#include "host/host_error.h"
#include "host/sim_names.h"

namespace host {
namespace {

struct Syntax {
  const char* verb;
  size_t min_args;
  size_t max_args;
};

constexpr Syntax kSyntax[] = {
    {"rate", 1, 1},
    {"tick_rate", 1, 1},
    {"panel", 1, 1},
    {"gauge", 2, 2},
    {"register", 1, 1},
    {"start", 0, 0},
    {"at", 1, 1},
    {"wait", 1, 1},
    {"frames", 1, 1},
    {"set", 2, 2},
    {"seti", 2, 2},
    {"ramp", 4, 4},
    {"click", 3, 3},
    {"hold", 3, 3},
    {"release", 1, 1},
    {"write", 2, 2},
    {"send", 2, 2},
    {"fail", 2, 3},
    {"answer", 3, 3},
    {"ticks_per_frame", 1, 1},
    {"clock", 1, 1},
    {"expect", 2, 9},
    {"stop", 0, 0},
};

const Syntax& syntax_of(const FlightCommand& c) {
  for (const Syntax& s : kSyntax) {
    if (c.verb == s.verb) return s;
  }
  fail_at(c, "unknown command '" + c.verb + "'");
}

SimName variable_arg(const FlightCommand& c, size_t i) {
  auto name = find_sim_name(c.args[i]);
  if (!name) fail_at(c, "unknown variable '" + c.args[i] + "'; known: " + sim_names_help());
  return *name;
}

uint32_t frames_in(double seconds, double frames_per_second) {
  return frame::trunc_saturate<uint32_t>(seconds * frames_per_second + 0.5);
}

std::string folder_of(const std::string& path) {
  auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// Every argument is checked here, before the flight runs.
void check(const FlightCommand& c) {
  const Syntax& syntax = syntax_of(c);
  if (c.args.size() < syntax.min_args || c.args.size() > syntax.max_args) {
    fail_at(c, "'" + c.verb + "' takes " + std::to_string(syntax.min_args) +
                   (syntax.max_args != syntax.min_args ? " to " + std::to_string(syntax.max_args)
                                                       : "") +
                   " argument(s)");
  }
  const std::string& v = c.verb;
  if (v == "rate" || v == "tick_rate") {
    if (!(f64_arg(c, 0) > 0) || f64_arg(c, 0) > 10000) fail_at(c, "a rate is above 0 and sensible");
  }
  if (v == "at" || v == "wait") seconds_arg(c, 0);
  if (v == "frames") u32_arg(c, 0);
  if (v == "set") variable_arg(c, 0), f64_arg(c, 1);
  if (v == "seti") variable_arg(c, 0), i32_arg(c, 1);
  if (v == "ramp") variable_arg(c, 0), f64_arg(c, 1), keyword_arg(c, 2, "over"), seconds_arg(c, 3);
  if (v == "click" || v == "hold") {
    if (c.args[1] == "area") {
      if (u32_arg(c, 2) == 0) fail_at(c, "areas are numbered from 1");
    } else {
      i32_arg(c, 1), i32_arg(c, 2);
    }
  }
  if (v == "send") u32_arg(c, 1);
  if (v == "write") i32_arg(c, 1);
  if (v == "ticks_per_frame" || v == "clock") f64_arg(c, 0);
  if (v == "fail") {
    if (c.args[0] != "load" && c.args[0] != "play") fail_at(c, "fail takes 'load' or 'play'");
    if (c.args.size() == 3) i32_arg(c, 2);
  }
  if (v == "answer") {
    if (c.args[0] != "load") fail_at(c, "answer takes 'load'");
    u32_arg(c, 2);
  }
}

// The state of one flight while it runs.
class Run {
 public:
  Run(const FlightScript& script, PanelHost& host) : script_(script), host_(host) {
    for (const Expectation& e : script.expectations()) {
      if (e.kind == Expectation::kElement || e.kind == Expectation::kVar) pending_.push_back(&e);
    }
  }

  void execute(const FlightCommand& c);
  std::vector<std::string> finish();

 private:
  struct Ramp {
    SimName var;
    double from, to;
    uint32_t start_frame, frames;
  };
  struct Held {
    std::string label;
    size_t area;
  };

  void run_frame();
  void run_until(uint32_t frame) {
    while (host_.frame() < frame) run_frame();
  }
  void set(const SimName& var, double value) {
    if (var.token == kTokenTimeSeconds) time_by_flight_ = true;
    if (var.integer) {
      host_.sim().set_int(var.token, frame::trunc_to_i32(value * var.scale));
    } else {
      host_.sim().set(var.token, value * var.scale);
    }
  }
  size_t press(const FlightCommand& c);
  void check_pending();

  const FlightScript& script_;
  PanelHost& host_;
  std::vector<Ramp> ramps_;
  std::vector<Held> held_;
  std::vector<const Expectation*> pending_;
  std::vector<std::string> failures_;
  bool time_by_flight_ = false;
};

void Run::run_frame() {
  const uint32_t next = host_.frame() + 1;
  for (auto it = ramps_.begin(); it != ramps_.end();) {
    double done = static_cast<double>(next - it->start_frame) / it->frames;
    host_.sim().set(it->var.token, it->from + (it->to - it->from) * done);
    it = next - it->start_frame >= it->frames ? ramps_.erase(it) : it + 1;
  }
  if (!time_by_flight_) host_.sim().set(kTokenTimeSeconds, next / script_.frames_per_second());
  for (const Held& h : held_) {
    if (host_.area_repeats(h.label, h.area)) host_.click_area(h.label, h.area);
  }
  host_.run_frame();
  check_pending();
}

void Run::check_pending() {
  for (auto it = pending_.begin(); it != pending_.end();) {
    const Expectation& e = **it;
    if (frames_in(e.to_s, script_.frames_per_second()) > host_.frame()) {
      ++it;
      continue;
    }
    if (std::string why = check_state(e, host_); !why.empty()) {
      failures_.push_back(e.where + ": " + e.text + ": " + why);
    }
    it = pending_.erase(it);
  }
}

size_t Run::press(const FlightCommand& c) {
  if (c.args[1] == "area") {
    size_t area = u32_arg(c, 2);
    host_.click_area(c.args[0], area);
    return area;
  }
  return host_.click(c.args[0], i32_arg(c, 1), i32_arg(c, 2));
}

void Run::execute(const FlightCommand& c) {
  const auto& a = c.args;
  const std::string& v = c.verb;
  const double fps = script_.frames_per_second();
  if (v == "gauge") {
    host_.add_gauge(a[0], a[1]);
  } else if (v == "panel") {
    for (const PanelGauge& g : script_.layout()) {
      if (g.where.rfind(c.where + " ", 0) == 0) host_.add_gauge(g.module, g.gauge);
    }
  } else if (v == "start") {
    host_.start();
    check_pending();
  } else if (v == "at") {
    uint32_t target = frames_in(seconds_arg(c, 0), fps);
    if (target < host_.frame()) fail_at(c, "the flight is already past " + a[0] + " s");
    run_until(target);
  } else if (v == "wait") {
    run_until(host_.frame() + frames_in(seconds_arg(c, 0), fps));
  } else if (v == "frames") {
    run_until(host_.frame() + u32_arg(c, 0));
  } else if (v == "set" || v == "seti") {
    set(variable_arg(c, 0), v == "set" ? f64_arg(c, 1) : i32_arg(c, 1));
  } else if (v == "ramp") {
    SimName var = variable_arg(c, 0);
    if (var.token == kTokenTimeSeconds) time_by_flight_ = true;
    uint32_t frames = std::max(1u, frames_in(seconds_arg(c, 3), fps));
    ramps_.push_back(
        {var, host_.sim().get(var.token), f64_arg(c, 1) * var.scale, host_.frame(), frames});
  } else if (v == "click") {
    press(c);
  } else if (v == "hold") {
    size_t area = press(c);
    if (area != 0) held_.push_back({a[0], area});
  } else if (v == "release") {
    std::erase_if(held_, [&](const Held& h) { return h.label == a[0]; });
  } else if (v == "send") {
    host_.send(a[0], u32_arg(c, 1));
  } else if (v == "register") {
    host_.named().host_storage(a[0]);
  } else if (v == "write") {
    host_.named().write(a[0], i32_arg(c, 1));
  } else if (v == "fail") {
    uint32_t op = a[0] == "load" ? kFSSoundLoad : kFSSoundPlay;
    FSSound_HostFail(op, a[1].c_str(), a.size() == 3 ? i32_arg(c, 2) : -1);
  } else if (v == "answer") {
    FSSound_HostLoadAnswer(a[1].c_str(), u32_arg(c, 2));
  } else if (v == "ticks_per_frame") {
    host_.set_ticks_per_frame(f64_arg(c, 0));
  } else if (v == "clock") {
    host_.set_clock(f64_arg(c, 0));
  } else if (v == "stop") {
    host_.stop();
  }
}

std::vector<std::string> Run::finish() {
  for (const Expectation* e : pending_) {
    failures_.push_back(e->where + ": " + e->text + ": the flight ended before then");
  }
  if (host_.started()) host_.stop();
  for (const Expectation& e : script_.expectations()) {
    if (e.kind == Expectation::kElement || e.kind == Expectation::kVar) continue;
    if (std::string why = check_log(e, host_.log().lines(), script_.frames_per_second());
        !why.empty()) {
      failures_.push_back(e.where + ": " + e.text + ": " + why);
    }
  }
  return failures_;
}

}  // namespace

FlightScript FlightScript::parse(const std::string& text, const std::string& file_name) {
  FlightScript script;
  std::istringstream lines(text);
  std::string line;
  bool started = false;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    FlightCommand c{file_name + ":" + std::to_string(number), {}, {}};
    if (!(words >> c.verb)) continue;
    for (std::string word; words >> word;) c.args.push_back(word);
    check(c);
    if (c.verb == "expect") {
      script.expectations_.push_back(parse_expectation(c));
      continue;
    }
    bool setup =
        c.verb == "rate" || c.verb == "tick_rate" || c.verb == "panel" || c.verb == "gauge";
    if (setup && started) fail_at(c, "'" + c.verb + "' belongs before 'start'");
    if (c.verb == "start") started = true;
    if (c.verb == "rate") script.frames_per_second_ = f64_arg(c, 0);
    if (c.verb == "tick_rate") script.ticks_per_second_ = f64_arg(c, 0);
    if (c.verb == "panel") {
      for (PanelGauge g : load_panel(folder_of(file_name) + c.args[0]).gauges()) {
        g.where = c.where + " " + g.where;
        script.layout_.push_back(g);
      }
    }
    if (c.verb == "gauge") script.layout_.push_back(PanelGauge{"", c.args[0], c.args[1]});
    script.commands_.push_back(std::move(c));
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

std::vector<std::string> FlightScript::run(PanelHost& host) const {
  host.set_ticks_per_frame(ticks_per_second_ / frames_per_second_);
  Run run(*this, host);
  for (const FlightCommand& command : commands_) {
    try {
      run.execute(command);
    } catch (const HostError& error) {
      std::string what = error.what();
      if (what.rfind(command.where, 0) == 0) throw;
      throw HostError(command.where + ": " + what);
    }
  }
  return run.finish();
}

}  // namespace host
