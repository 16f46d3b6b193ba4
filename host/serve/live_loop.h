#pragma once
// The host's thread of a served session: flies the session at its frame
// rate (paused, stepped or faster when the page asks), applies the page's
// inputs between frames, and publishes what the page shows after each.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "host/panel_host.h"
#include "host/report/side_view.h"
#include "host/serve/live_exchange.h"
#include "host/serve/live_requests.h"

namespace host::serve {

struct LoopSettings {
  HostOptions host;       // for every session (one at a time)
  std::string path;       // the panel or flight flown first
  std::string scenarios;  // the folder the page may start flights from
  // Called before each session's host is made, e.g. to start its log afresh.
  std::function<void()> new_session;
  // Where a session that ends on an error says why (the page is told too).
  std::ostream* errors = nullptr;
};

class LiveLoop {
 public:
  // Starts the first session at once; throws HostError when it cannot.
  LiveLoop(LiveExchange& exchange, LoopSettings settings);
  ~LiveLoop();

  // Runs until `keep_going` says no or the exchange stops.
  void run(const std::function<bool()>& keep_going);

  // The flights in the scenarios folder, by file name, each as the page
  // shows it; a name shown like another's is left out, with a line on
  // `warnings`.
  static std::vector<ScenarioFile> scenarios(const std::string& folder,
                                             std::ostream* warnings = nullptr);

 private:
  void start(const std::string& path);
  void handle(const LiveInput& input);
  void frame();
  void publish();
  void note(const std::string& what);
  // Ends the session on an error: says why, and the panel comes back.
  void end_session(const std::string& why);

  LiveExchange& exchange_;
  LoopSettings settings_;
  std::unique_ptr<LiveSession> session_;
  std::unique_ptr<PanelView> view_;
  std::unique_ptr<report::SideView> side_view_;  // the session's, read after each frame
  LiveView shown_;
  uint64_t recording_version_ = 0;
  std::vector<PageEvent> notes_;
  bool paused_ = false;
  bool step_ = false;
  double speed_ = 1.0;
};

}  // namespace host::serve
