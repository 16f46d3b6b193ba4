#pragma once
// One live flight, on the host's thread only: the panel host flying a panel
// file or a flight from scenarios/, the flight's own lines played as their
// time comes until someone takes over, every input applied at a frame
// boundary through the flight commands' own table, and all of it kept as a
// flight that replays to the same event log.
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/event_stream.h"
#include "host/flight_run.h"
#include "host/flight_script.h"
#include "host/panel_host.h"
#include "host/serve/flight_recording.h"

namespace host::serve {

// What the page is told of an event: its list entry, and for sounds what
// the browser plays or stops.
struct PageEvent {
  uint32_t frame = 0;
  std::string kind;  // "voice", "sound failed", "key", "lamp", "var", "stop", "note"
  std::string what;
  std::string sound;  // for voices: the path the module played
  uint32_t handle = 0;
  bool loop = false;
  std::string entry;  // the page's list entry, its time first, as host/event_marks.h words it
};

class LiveSession final : public EventSubscriber {
 public:
  // `path` is a panel configuration (.cfg) or a flight. Throws HostError.
  LiveSession(HostOptions options, const std::string& path);
  ~LiveSession() override;
  LiveSession(const LiveSession&) = delete;
  LiveSession& operator=(const LiveSession&) = delete;

  // Applies an input line now, between frames, and keeps it; throws
  // HostError for a line that does not read or is no input (one that moves
  // the clock, places gauges or expects).
  void apply(const FlightCommand& command);
  // One frame: the flight's lines due before it, the frame, the lamps seen.
  void step();
  // Stops playing the flight's lines: its ramps end where they are and its
  // held clicks are let go, as recorded lines.
  void take_over();

  bool playing() const { return playing_; }
  bool ended() const { return started_ && !host_.started(); }
  PanelHost& host() { return host_; }
  const PanelHost& host() const { return host_; }
  const FlightScript& script() const { return script_; }
  double frames_per_second() const { return script_.frames_per_second(); }
  const std::string& path() const { return path_; }
  const FlightRecording& recording() const { return recording_; }
  // Counts every change to the recording, so copies know when to refresh.
  uint64_t recording_version() const { return recording_version_; }
  // The sound files the library loaded, which the page may fetch.
  const std::set<std::string>& sounds() const { return sounds_; }
  // The page's events since the last call.
  std::vector<PageEvent> take_events();

  void on_event(const Event& event) override;

 private:
  void play_due();
  void apply_line(const FlightLine& line);

  std::string path_;
  FlightScript script_;
  PanelHost host_;
  FlightRun run_;
  FlightRecording recording_;
  uint64_t recording_version_ = 0;
  size_t next_line_ = 0;
  std::optional<uint32_t> wait_until_;
  bool playing_ = true;
  bool started_ = false;
  std::vector<PageEvent> events_;
  std::set<std::string> sounds_;
  std::set<uint32_t> voices_;  // handles of voices heard and not stopped since
  std::vector<std::pair<std::string, uint32_t>> changed_elements_;
};

}  // namespace host::serve
