#include "host/event_log.h"

#include "host/event_text.h"

namespace host {

void EventLog::on_event(const Event& event) {
  line_.clear();
  append_event_line(line_, event);
  line_ += '\n';
  out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

}  // namespace host
