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
  std::string text_line;
  bool started = false;
  for (int number = 1; std::getline(lines, text_line); ++number) {
    if (auto hash = text_line.find('#'); hash != std::string::npos) text_line.erase(hash);
    std::istringstream words(text_line);
    FlightCommand c{file_name + ":" + std::to_string(number), {}, {}};
    if (!(words >> c.verb)) continue;
    for (std::string word; words >> word;) c.args.push_back(word);
    const FlightCommandRow& row = command_row(c);
    if (row.phase == CommandPhase::kExpect) {
      script.expectations_.push_back(read_expectation(c, script.setup_));
      continue;
    }
    FlightLine line = read_line(c, script.setup_);
    if (row.phase == CommandPhase::kSetup && started) {
      fail_at(c, "'" + c.verb + "' belongs before 'start'");
    }
    if (row.starts) started = true;
    if (row.read != nullptr) row.read(script.setup_, line);
    script.lengthen(line);
    script.lines_.push_back(std::move(line));
  }
  return script;
}

void FlightScript::lengthen(const FlightLine& line) {
  switch (line.row->clock) {
    case ClockMove::kUntil:
      length_seconds_ = std::max(length_seconds_, line.args.seconds);
      break;
    case ClockMove::kForSeconds:
      length_seconds_ += line.args.seconds;
      break;
    case ClockMove::kForFrames:
      length_seconds_ += line.args.frames / setup_.frames_per_second;
      break;
    case ClockMove::kNone:
      break;
  }
  if (length_seconds_ > kLongestFlightSeconds && past_longest_.empty()) {
    past_longest_ = line.words.where;
  }
}

FlightScript FlightScript::load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw HostError("cannot read flight " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str(), path);
}

std::vector<ExpectationResult> FlightScript::fly(PanelHost& host) const {
  host.set_ticks_per_frame(setup_.ticks_per_second / setup_.frames_per_second);
  FlightRun run(*this, host);
  for (const FlightLine& line : lines_) {
    try {
      if (line.row->run != nullptr) line.row->run(run, line);
    } catch (const HostError& error) {
      std::string what = error.what();
      if (what.rfind(line.words.where, 0) == 0) throw;
      throw HostError(line.words.where + ": " + what);
    }
  }
  return run.finish();
}

}  // namespace host
