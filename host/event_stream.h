#pragma once
// The host's one stream of typed events. The host core and the stand-in
// sound library publish; readers either subscribe (called at once, in the
// order they subscribed) or read the events the stream captured after the
// flight. When nobody reads, publishers skip building events at all.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "host/event.h"

namespace host {

class EventSubscriber {
 public:
  virtual ~EventSubscriber() = default;
  virtual void on_event(const Event& event) = 0;
};

class EventStream {
 public:
  void set_frame(uint32_t frame) { frame_ = frame; }
  uint32_t frame() const { return frame_; }

  // Whether every event is kept for events().
  void set_capture(bool capture);
  bool captures() const { return capture_; }
  void subscribe(EventSubscriber* subscriber);
  void unsubscribe(EventSubscriber* subscriber);
  // Whether a published event goes anywhere.
  bool active() const { return active_; }

  // Called whenever the stream stops being read (false) or starts again
  // (true), so a publisher can quiet its own reports and, on resuming,
  // forget what happened unseen meanwhile.
  using ActiveFn = void (*)(void* context, bool active);
  void set_active_hook(ActiveFn hook, void* context) {
    active_hook_ = hook;
    active_context_ = context;
  }

  // Publishes an event of `kind` stamped with the current frame, its other
  // fields set by fill(Event&). A kept event is built where it is kept: the
  // host publishes tens of events a frame, and building each on the stack to
  // copy it would cost more than all the rest. Subscribers must not publish.
  template <typename Fill>
  void publish(EventKind kind, Fill&& fill) {
    if (!active_) return;
    Event& e = capture_ ? captured_.emplace_back() : (scratch_ = Event{});
    e.kind = kind;
    fill(e);
    e.frame = frame_;
    for (EventSubscriber* s : subscribers_) s->on_event(e);
  }
  // Publishes a copy of an event made elsewhere, stamped with the current
  // frame. Taken by value: it may be one of the kept events.
  void publish(Event event) {
    publish(event.kind, [&](Event& e) { e = event; });
  }

  const std::vector<Event>& events() const { return captured_; }
  void clear() { captured_.clear(); }

  // A copy of `text` that lives as long as the stream, for events' texts.
  const char* intern(std::string_view text);

 private:
  void update_active();

  uint32_t frame_ = 0;
  bool capture_ = true;
  bool active_ = true;
  std::vector<EventSubscriber*> subscribers_;
  std::vector<Event> captured_;
  Event scratch_;  // the event being published when none is kept
  // Looked up by view, so a text already interned costs no copy.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_set<std::string, TextHash, std::equal_to<>> texts_;
  ActiveFn active_hook_ = nullptr;
  void* active_context_ = nullptr;
};

}  // namespace host
