#pragma once
// A small JSON document: built by the --json report, parsed and compared by
// the golden checks. Objects keep their keys in insertion order so the
// report reads in the order of the records.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace gaugeinspect {

class Json {
 public:
  using Array = std::vector<Json>;
  using Object = std::vector<std::pair<std::string, Json>>;

  Json() = default;  // null
  static Json boolean(bool b) { return make(Kind::kBool, b, 0, {}); }
  static Json number(double d) { return make(Kind::kNumber, false, d, {}); }
  static Json string(std::string s) { return make(Kind::kString, false, 0, std::move(s)); }
  static Json array() { return make(Kind::kArray, false, 0, {}); }
  static Json object() { return make(Kind::kObject, false, 0, {}); }

  bool is_null() const { return kind_ == Kind::kNull; }
  bool is_bool() const { return kind_ == Kind::kBool; }
  bool is_number() const { return kind_ == Kind::kNumber; }
  bool is_string() const { return kind_ == Kind::kString; }
  bool is_array() const { return kind_ == Kind::kArray; }
  bool is_object() const { return kind_ == Kind::kObject; }

  // Each accessor reads its own field; on a value of another kind it gives
  // that field's empty value.
  bool as_bool() const { return bool_; }
  double as_number() const { return number_; }
  const std::string& as_string() const { return string_; }
  const Array& items() const { return items_; }
  const Object& members() const { return members_; }

  // Appends to an array.
  Json& push(Json item);
  // Adds a member to an object; returns *this for chaining.
  Json& set(std::string key, Json value);
  // The member named `key`, or nullptr.
  const Json* find(const std::string& key) const;

  // Two-space indentation; arrays of scalars stay on one line.
  std::string dump() const;

 private:
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  static Json make(Kind kind, bool b, double d, std::string s) {
    Json j;
    j.kind_ = kind;
    j.bool_ = b;
    j.number_ = d;
    j.string_ = std::move(s);
    return j;
  }
  void dump_to(std::string& out, int indent) const;

  Kind kind_ = Kind::kNull;
  bool bool_ = false;
  double number_ = 0;
  std::string string_;
  Array items_;
  Object members_;
};

// Shorthands for building reports.
inline Json jnum(double d) {
  return Json::number(d);
}
inline Json jstr(std::string s) {
  return Json::string(std::move(s));
}
inline Json jbool(bool b) {
  return Json::boolean(b);
}

// The text as a JSON string literal, quotes included. Bytes outside ASCII
// are written as \u00XX so the output is valid whatever the file held.
std::string json_quote(const std::string& text);

}  // namespace gaugeinspect
