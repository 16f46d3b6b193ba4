#pragma once
// The event log: the stream's text subscriber. It writes one line per event
// (`NNNNNN text`, the frame zero-padded to six digits) to an output stream as
// the event happens, so a flight that ends badly has logged everything up to
// its end. The lines are byte for byte the same natively and under Wine.
#include <ostream>
#include <string>

#include "host/event_stream.h"

namespace host {

class EventLog final : public EventSubscriber {
 public:
  explicit EventLog(std::ostream& out) : out_(out) {}
  void on_event(const Event& event) override;

 private:
  std::ostream& out_;
  std::string line_;  // reused, so that a line allocates nothing once grown
};

}  // namespace host
