#pragma once
// Events made up for the tests of their readers: the kind, then the fields
// that kind uses (see host/event.h).
#include <cstdint>

#include "host/event.h"

namespace testing_host {

inline host::Event test_event(host::EventKind kind, uint32_t frame = 0, uint32_t code = 0,
                              uint32_t arg = 0, uint32_t result = 0, const char* text = nullptr,
                              const char* label = nullptr, uint32_t element = 0) {
  host::Event e;
  e.kind = kind;
  e.frame = frame;
  e.code = code;
  e.arg = arg;
  e.result = result;
  e.text = text;
  e.label = label;
  e.element = element;
  return e;
}

}  // namespace testing_host
