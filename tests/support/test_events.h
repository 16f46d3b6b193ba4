#pragma once
// Events made up for the tests of their readers, built by field name as the
// kind's row in host/event.h names its fields:
//
//   event(K::kSoundPlay, 941, {{"handle", 4}, {"path", "Sound\\a.wav"}, {"started", 1}})
//
// A name the kind's row does not have fails the test that asked for it.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

#include "host/event.h"

namespace testing_host {

struct FieldValue {
  const char* name;
  std::variant<int64_t, double, const char*> value;

  FieldValue(const char* n, int v) : name(n), value(int64_t{v}) {}
  FieldValue(const char* n, unsigned v) : name(n), value(int64_t{v}) {}
  FieldValue(const char* n, int64_t v) : name(n), value(v) {}
  FieldValue(const char* n, double v) : name(n), value(v) {}
  FieldValue(const char* n, const char* v) : name(n), value(v) {}
};

inline void set_field(host::Event& e, const host::FieldUse& f, const FieldValue& v) {
  using host::EventField;
  if (f.field == EventField::kLabel || f.field == EventField::kText) {
    const char* const* text = std::get_if<const char*>(&v.value);
    if (text == nullptr) {
      ADD_FAILURE() << "field " << v.name << " is a text";
      return;
    }
    (f.field == EventField::kLabel ? e.label : e.text) = *text;
    return;
  }
  if (f.field == EventField::kValue) {
    const double* d = std::get_if<double>(&v.value);
    const int64_t* i = std::get_if<int64_t>(&v.value);
    if (d == nullptr && i == nullptr) ADD_FAILURE() << "field " << v.name << " is a number";
    e.value = d != nullptr ? *d : i != nullptr ? static_cast<double>(*i) : 0.0;
    return;
  }
  const int64_t* i = std::get_if<int64_t>(&v.value);
  if (i == nullptr) {
    ADD_FAILURE() << "field " << v.name << " is a whole number";
    return;
  }
  switch (f.field) {
    case EventField::kElement:
      e.element = static_cast<uint32_t>(*i);
      break;
    case EventField::kCode:
      e.code = static_cast<uint32_t>(*i);
      break;
    case EventField::kArg:
      e.arg = static_cast<uint32_t>(*i);
      // The routine's dword is in the log only when it was passed.
      e.has_arg |= f.format == host::FieldFormat::kGivenArg;
      break;
    case EventField::kResult:
      e.result = static_cast<uint32_t>(*i);
      break;
    case EventField::kX:
      e.x = static_cast<int32_t>(*i);
      break;
    case EventField::kY:
      e.y = static_cast<int32_t>(*i);
      break;
    default:
      break;
  }
}

inline host::Event event(host::EventKind kind, uint32_t frame = 0,
                         std::initializer_list<FieldValue> fields = {}) {
  host::Event e;
  e.kind = kind;
  e.frame = frame;
  for (const FieldValue& v : fields) {
    const host::FieldUse* f = host::field_named(kind, v.name);
    if (f == nullptr) {
      ADD_FAILURE() << host::kind_name(kind) << " has no field " << v.name;
      continue;
    }
    set_field(e, *f, v);
  }
  return e;
}

}  // namespace testing_host
