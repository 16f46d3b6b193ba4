#include "host/serve/live_exchange.h"

namespace host::serve {

void LiveExchange::push(LiveInput input) {
  {
    std::lock_guard lock(mutex_);
    inputs_.push_back(std::move(input));
  }
  input_.notify_one();
}

std::vector<LiveInput> LiveExchange::take(std::chrono::steady_clock::duration wait) {
  std::unique_lock lock(mutex_);
  input_.wait_for(lock, wait, [&] { return !inputs_.empty() || stopping_; });
  std::vector<LiveInput> out;
  out.swap(inputs_);
  return out;
}

void LiveExchange::add_events(std::vector<PageEvent> events) {
  for (PageEvent& e : events) {
    events_.push_back({next_event_++, std::move(e)});
    if (events_.size() > kKeptEvents) events_.pop_front();
  }
}

void LiveExchange::publish(LiveView view, std::vector<PageEvent> events) {
  {
    std::lock_guard lock(mutex_);
    view_ = std::move(view);
    add_events(std::move(events));
    ++version_;
  }
  changed_.notify_all();
}

LiveView LiveExchange::view() const {
  std::lock_guard lock(mutex_);
  return view_;
}

LiveExchange::Update LiveExchange::update(uint64_t seen_version, uint64_t after,
                                          std::chrono::milliseconds wait) const {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, wait, [&] { return version_ != seen_version || stopping_; });
  Update u{version_, view_, {}};
  for (const NumberedEvent& e : events_) {
    if (e.number > after) u.events.push_back(e);
  }
  return u;
}

void LiveExchange::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  input_.notify_all();
}

bool LiveExchange::stopping() const {
  std::lock_guard lock(mutex_);
  return stopping_;
}

}  // namespace host::serve
