#pragma once
// What the host's thread and the HTTP threads share, under one mutex: the
// inputs the page sent, waiting for the next frame boundary, and the latest
// view of the session (state, picture, layout, events, the recording). HTTP
// threads only queue inputs and read copies; only the host's thread touches
// the host.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "host/flight_args.h"
#include "host/serve/flight_recording.h"
#include "host/serve/live_session.h"
#include "host/serve/panel_view.h"

namespace host::serve {

struct LiveInput {
  enum Kind { kLine, kPause, kResume, kStep, kSpeed, kTakeOver, kScenario };
  Kind kind = kLine;
  FlightCommand line;  // kLine
  double number = 0;   // kSpeed
  std::string path;    // kScenario
};

// The session as the page last saw it.
struct LiveView {
  uint64_t session = 0;  // counts sessions started (a scenario starts a new one)
  nlohmann::json state;  // frame, time, variables, controls' states
  uint64_t picture = 0;  // counts pictures
  std::shared_ptr<const std::vector<uint8_t>> png;
  // Shared, not copied, by every reader: replaced when they change.
  std::shared_ptr<const PanelLayout> layout = std::make_shared<PanelLayout>();
  std::string title;
  uint32_t frame = 0;
  std::shared_ptr<const FlightRecording> recording = std::make_shared<FlightRecording>();
  std::shared_ptr<const std::set<std::string>> sounds = std::make_shared<std::set<std::string>>();
};

struct NumberedEvent {
  uint64_t number;
  PageEvent event;
};

class LiveExchange {
 public:
  void push(LiveInput input);
  // The inputs queued since the last call; waits up to `wait` for one.
  std::vector<LiveInput> take(std::chrono::steady_clock::duration wait);

  // The host's thread publishes; readers wake.
  void publish(LiveView view, std::vector<PageEvent> events);
  LiveView view() const;
  // The view once its state is newer than `seen_version` (or after `wait`),
  // with the events numbered above `after`.
  struct Update {
    uint64_t version;
    LiveView view;
    std::vector<NumberedEvent> events;
  };
  Update update(uint64_t seen_version, uint64_t after, std::chrono::milliseconds wait) const;

  void stop();
  bool stopping() const;

 private:
  void add_events(std::vector<PageEvent> events);  // under the lock

  static constexpr size_t kKeptEvents = 400;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::condition_variable input_;
  std::vector<LiveInput> inputs_;
  LiveView view_;
  uint64_t version_ = 0;
  std::deque<NumberedEvent> events_;
  uint64_t next_event_ = 1;
  bool stopping_ = false;
};

}  // namespace host::serve
