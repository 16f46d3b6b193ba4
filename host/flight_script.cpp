#include "host/flight_script.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "host/flight_commands.h"
#include "host/flight_run.h"
#include "host/host_error.h"

namespace host {
namespace {

std::string folder_of(const std::string& path) {
  auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

}  // namespace

FlightScript FlightScript::parse(const std::string& text, const std::string& file_name) {
  FlightScript script;
  script.setup_.folder = folder_of(file_name);
  std::istringstream lines(text);
  std::string line;
  bool started = false;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    FlightCommand c{file_name + ":" + std::to_string(number), {}, {}};
    if (!(words >> c.verb)) continue;
    for (std::string word; words >> word;) c.args.push_back(word);
    const FlightCommandRow& row = command_row(c);
    row.check(c);
    if (row.phase == CommandPhase::kExpect) {
      script.expectations_.push_back(parse_expectation(c));
      continue;
    }
    if (row.phase == CommandPhase::kSetup && started) {
      fail_at(c, "'" + c.verb + "' belongs before 'start'");
    }
    if (c.verb == "start") started = true;
    if (row.read != nullptr) row.read(script.setup_, c);
    script.lengthen(c);
    script.commands_.push_back(std::move(c));
  }
  return script;
}

void FlightScript::lengthen(const FlightCommand& c) {
  if (c.verb == "at") {
    length_seconds_ = std::max(length_seconds_, seconds_arg(c, 0));
  } else if (c.verb == "wait") {
    length_seconds_ += seconds_arg(c, 0);
  } else if (c.verb == "frames") {
    length_seconds_ += u32_arg(c, 0) / setup_.frames_per_second;
  }
  if (length_seconds_ > kLongestFlightSeconds && past_longest_.empty()) past_longest_ = c.where;
}

FlightScript FlightScript::load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw HostError("cannot read flight " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str(), path);
}

std::vector<std::string> FlightScript::run(PanelHost& host) const {
  host.set_ticks_per_frame(setup_.ticks_per_second / setup_.frames_per_second);
  FlightRun run(*this, host);
  for (const FlightCommand& command : commands_) {
    try {
      const FlightCommandRow& row = command_row(command);
      if (row.run != nullptr) row.run(run, command);
    } catch (const HostError& error) {
      std::string what = error.what();
      if (what.rfind(command.where, 0) == 0) throw;
      throw HostError(command.where + ": " + what);
    }
  }
  return run.finish();
}

}  // namespace host
