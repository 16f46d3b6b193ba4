#include "host/event_stream.h"

#include <algorithm>

namespace host {

void EventStream::set_capture(bool capture) {
  capture_ = capture;
  update_active();
}

void EventStream::subscribe(EventSubscriber* subscriber) {
  subscribers_.push_back(subscriber);
  update_active();
}

void EventStream::unsubscribe(EventSubscriber* subscriber) {
  std::erase(subscribers_, subscriber);
  update_active();
}

void EventStream::update_active() {
  const bool was = active_;
  active_ = capture_ || !subscribers_.empty();
  if (active_ != was && active_hook_ != nullptr) active_hook_(active_context_, active_);
}

const char* EventStream::intern(std::string_view text) {
  auto it = texts_.find(text);
  if (it == texts_.end()) it = texts_.emplace(text).first;
  return it->c_str();
}

}  // namespace host
