#pragma once
// A fuzzer's input read as a flight for the panel host. The commands are the
// ones a flight has, read forgivingly: a line that makes no sense is skipped,
// numbers saturate and names of gauges are picked by number, so that mutated
// text still flies. Every call it makes on the host is followed by `check`,
// and so is every frame. The panel starts at the first line that is neither
// `register` nor `fail`.
//
//   register NAME            named variable of an outside instrument (before the first other line)
//   fail load|play PATH N    make the sound library refuse the next N loads or plays (any time)
//   frames N                 fly N frames (at most 64 at a time)
//   set NAME VALUE           simulation variable by readable name or token: nan, inf, 1e300, -5 ...
//   seti NAME VALUE          one the host holds as a 32-bit integer
//   clock T | tpf T          the clock for the next frame / ticks per frame from now on
//   click G X Y              left click at a pixel of gauge G (its number on the panel)
//   area G N                 left click on click area N of gauge G
//   send G CODE              the gauge's callback with any service code
//   list G SLOT ARG          one of its element-list routines (SLOT picks one of seven)
//   write NAME VALUE         a named variable, written as an outside instrument would
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/panel_host.h"

namespace fuzz {

// Called with what the host just did; stops the fuzzer when a rule is broken.
using Check = std::function<void(const char* after)>;

// Flies `text` on `panel`, whose gauges are `labels` in panel order.
void fly(std::string_view text, host::PanelHost& panel, const std::vector<std::string>& labels,
         const Check& check);

}  // namespace fuzz
