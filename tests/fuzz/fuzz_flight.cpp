#include "tests/fuzz/fuzz_flight.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "fssound/fssound_host.h"
#include "host/host_error.h"
#include "host/sim_names.h"

namespace fuzz {
namespace {

// Keeps one input's run short, whatever the input asks for.
constexpr uint32_t kMostFramesAtOnce = 64;
constexpr uint32_t kMostFramesPerInput = 4096;
constexpr size_t kMostLinesPerInput = 2048;

double number(const std::string& word) {
  if (word.empty()) return 0.0;
  return std::strtod(word.c_str(), nullptr);  // nan, inf, 1e999 (inf) and hex all read
}

int64_t integer(const std::string& word) {
  return std::strtoll(word.c_str(), nullptr, 0);  // saturates on overflow
}

uint32_t word32(const std::string& word) {
  int64_t value = integer(word);
  return static_cast<uint32_t>(static_cast<uint64_t>(value));  // modulo 2^32, as a host passes it
}

int32_t clamp32(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

constexpr frame::ElementListSlot kListSlots[] = {
    frame::kSlotQuery,    frame::kSlotInstall, frame::kSlotInitialize, frame::kSlotUpdate,
    frame::kSlotGenerate, frame::kSlotDraw,    frame::kSlotKill,
};

class Flight {
 public:
  Flight(host::PanelHost& panel, const std::vector<std::string>& labels, const Check& check)
      : panel_(panel), labels_(labels), check_(check) {}

  void line(const std::string& text) {
    std::istringstream in(text);
    std::string command;
    std::string a, b, c;
    in >> command >> a >> b >> c;
    if (command.empty() || command[0] == '#') return;
    if (command == "register") {
      if (!panel_.started() && !a.empty()) panel_.named().host_storage(a);
      return;
    }
    if (command == "fail") {  // before the start too, for the loads at install
      uint32_t operation = a == "play" ? kFSSoundPlay : kFSSoundLoad;
      FSSound_HostFail(operation, b.c_str(), clamp32(integer(c.empty() ? "-1" : c)));
      return;
    }
    if (command == "answer") {  // loads of PATH answer any value, e.g. 2
      FSSound_HostLoadAnswer(b.c_str(), static_cast<uint32_t>(clamp32(integer(c))));
      return;
    }
    if (!panel_.started()) {
      panel_.start();
      check_("start");
    }
    act(command, a, b, c);
  }

 private:
  const std::string& gauge(const std::string& word) const {
    return labels_[static_cast<uint64_t>(integer(word)) % labels_.size()];
  }

  void act(const std::string& command, const std::string& a, const std::string& b,
           const std::string& c) {
    if (command == "frames") {
      uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(word32(a), kMostFramesAtOnce));
      if (count > kMostFramesPerInput - frames_) count = kMostFramesPerInput - frames_;
      frames_ += count;
      panel_.run_frames(count);  // checked by the frame observer
    } else if (command == "set" || command == "seti") {
      std::optional<host::SimName> name = host::find_sim_name(a);
      if (!name) return;
      if (name->token == host::kTokenTicks) return;  // the clock moves only through `clock`/`tpf`
      if (command == "seti")
        panel_.sim().set_int(name->token, clamp32(integer(b)));
      else
        panel_.sim().set(name->token, number(b));
    } else if (command == "clock") {
      panel_.set_clock(number(a));
    } else if (command == "tpf") {
      panel_.set_ticks_per_frame(number(a));
    } else if (command == "click") {
      panel_.click(gauge(a), clamp32(integer(b)), clamp32(integer(c)));
      check_("click");
    } else if (command == "area") {
      panel_.click_area(gauge(a), static_cast<size_t>(word32(b)));
      check_("click on an area");
    } else if (command == "send") {
      panel_.send(gauge(a), word32(b));
      check_("send");
    } else if (command == "list") {
      panel_.call_element_list_routine(gauge(a), kListSlots[word32(b) % std::size(kListSlots)],
                                       word32(c));
      check_("element-list routine");
    } else if (command == "write") {
      if (panel_.named().registered(a)) panel_.named().write(a, clamp32(integer(b)));
      check_("named variable write");
    }
  }

  host::PanelHost& panel_;
  const std::vector<std::string>& labels_;
  const Check& check_;
  uint32_t frames_ = 0;
};

}  // namespace

void fly(std::string_view text, host::PanelHost& panel, const std::vector<std::string>& labels,
         const Check& check) {
  panel.set_frame_observer([&check](uint32_t) { check("frame"); });
  Flight flight(panel, labels, check);
  size_t lines = 0;
  size_t start = 0;
  while (start <= text.size() && lines++ < kMostLinesPerInput) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    try {
      flight.line(std::string(text.substr(start, end - start)));
    } catch (const host::HostError&) {
      // A request the host refuses (no such click area, say) is not the module's fault.
    }
    start = end + 1;
  }
  if (!panel.started()) {
    panel.start();
    check("start");
  }
  panel.stop();
  check("stop");
}

}  // namespace fuzz
