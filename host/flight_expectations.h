#pragma once
// What a flight expects to happen, one form a row (`gaugehost fly --help`
// lists them): its words, its help, how it is read and how it is checked.
// A flight with expectations is a test: the host checks each one and gives
// a result per expectation, met or missed, with what was wanted and seen.
// Times are seconds of flight time ("61" or "61s"; a lone "s" is skipped).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host/event.h"
#include "host/flight_args.h"

namespace host {

class PanelHost;
struct FlightSetup;
struct ExpectForm;

struct Expectation {
  std::string where;  // file:line
  std::string text;   // the line's words, "expect ..."
  const ExpectForm* form = nullptr;
  std::string subject;  // sound path, gauge label or variable name
  uint32_t key = 0;     // key event id
  size_t element = 0;
  std::string element_name;  // as the flight named it; empty when by number
  bool shown = false;
  int32_t value = 0;
  bool windowed = false;
  double from_s = 0;
  double to_s = 0;     // for element and var: the time of the check
  std::string wanted;  // what it asks for, as its result says

  // Element and var expectations read the host's state at their time;
  // sound and key expectations read the flight's events at its end.
  bool reads_state() const;
};

struct ExpectationResult {
  std::string where;  // file:line
  std::string text;   // the line's words
  bool met = true;
  std::string wanted;  // what the line asks for: "shown", "1", "heard between 1 s and 2 s"
  std::string seen;    // what the flight gave: "hidden", "0", "at 1.06 s", "never"
  std::string why;     // when missed: the reason as the host prints it
};

struct ExpectForm {
  const char* name;    // the words after "expect" that pick the form: "no sound"
  const char* syntax;  // as the help shows it
  const char* help;
  bool reads_state;
  // Reads the words after the form's name (from `first`, unit words gone).
  void (*parse)(const FlightCommand& c, size_t first, const FlightSetup& setup, Expectation& e);
  // Met or missed, on the host at the expectation's time (reads_state) or
  // on the flight's events once it ended.
  ExpectationResult (*check)(const Expectation& e, const PanelHost& host, double frames_per_second);
  // The line a saved flight writes for it.
  std::string (*line)(const Expectation& e);
};

std::span<const ExpectForm> expect_forms();
const ExpectForm& expect_form(const char* name);

// Reads an `expect` line through its form; fail_at() on a mistake.
Expectation read_expectation(const FlightCommand& c, const FlightSetup& setup);
// Checks it now (see ExpectForm::check).
ExpectationResult check_expectation(const Expectation& e, const PanelHost& host,
                                    double frames_per_second);
// A result for an expectation whose time never came.
ExpectationResult not_reached(const Expectation& e);

// "file:line: expect ...: why" for each result missed, in file order.
std::vector<std::string> failure_lines(const std::vector<ExpectationResult>& results);

}  // namespace host
