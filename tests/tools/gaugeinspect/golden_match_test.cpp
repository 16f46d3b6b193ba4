// The golden comparison: what a hand-written description accepts and what
// it reports, and the JSON reader under it.
#include "tests/tools/gaugeinspect/golden_match.h"

#include <gtest/gtest.h>

#include "tests/tools/gaugeinspect/json_parse.h"
#include "tools/gaugeinspect/json_value.h"

namespace inspect_tests {
namespace {

TEST(GoldenMatch, ComparesWhatTheDescriptionNames) {
  struct Row {
    const char* expected;
    const char* actual;
    std::vector<std::string> misses;
  };
  const Row kRows[] = {
      {R"({"a": 1})", R"({"a": 1, "b": 2})", {}},
      {R"({"a": 1})", R"({"a": 2})", {"a: expected 1, found 2"}},
      {R"({"a": 1})", R"({"b": 1})", {"a: missing"}},
      {R"({"a": {"b": [1, 2]}})", R"({"a": {"b": [1, 3]}})", {"a.b[1]: expected 2, found 3"}},
      {R"([1, 2])", R"([1, 2, 3])", {"(document): expected an array of 2, found an array of 3"}},
      {R"([1, 2])", R"([1])", {"(document): expected an array of 2, found an array of 1"}},
      {R"([1, 2])",
       R"([0, 2, 3])",
       {"(document): expected an array of 2, found an array of 3", "[0]: expected 1, found 0"}},
      {R"({"p": "*"})", R"({"p": 4660})", {}},
      {R"({"p": "*"})", R"({"p": null})", {"p: expected a value, found null"}},
      {R"({"p": null})", R"({"p": 0})", {"p: expected null, found 0"}},
      {R"({"v": 15.24})",
       R"({"v": 15.240000000000002})",
       {"v: expected 15.24, found 15.240000000000002"}},
      {R"({"d": {"$any": [8, 24]}})", R"({"d": 24})", {}},
      {R"({"d": {"$any": [{"depth": 8}, {"depth": 24, "palette": 0}]}})",
       R"({"d": {"depth": 24, "palette": 256}})",
       {"d: matches none of the alternatives, found an object"}},
      {R"({"s": "x\u0041"})", R"({"s": "xA"})", {}},
      {R"({"b": true})", R"({"b": 1})", {"b: expected true, found 1"}},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(golden_mismatches(parse_json(row.expected), parse_json(row.actual)), row.misses);
  }
}

TEST(JsonParse, RefusesMalformedTextWithItsPlace) {
  struct Row {
    const char* text;
    const char* error;
  };
  const Row kRows[] = {
      {"", "1:1: unexpected end"},      {"{\"a\" 1}", "1:6: expected ':'"},
      {"[1, 2", "1:6: expected ']'"},   {"{\n  \"a\": tru}", "2:8: expected a value"},
      {"\"abc", "unterminated string"}, {"1 2", "text after the document"},
      {"\"\\u0100\"", "above 00ff"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.text);
    try {
      parse_json(row.text);
      ADD_FAILURE() << "accepted";
    } catch (const JsonParseError& e) {
      EXPECT_NE(std::string(e.what()).find(row.error), std::string::npos) << e.what();
    }
  }
  std::string deep(100, '[');
  EXPECT_THROW(parse_json(deep), JsonParseError);
}

TEST(JsonValue, WritesWhatItReadsBack) {
  gaugeinspect::Json doc = gaugeinspect::Json::object();
  doc.set("name", gaugeinspect::jstr("odd \"name\"\x01\xff"))
      .set("n", gaugeinspect::jnum(-1))
      .set("v", gaugeinspect::jnum(0.1))
      .set("list", gaugeinspect::Json::array().push(gaugeinspect::jbool(false)).push({}));
  const gaugeinspect::Json back = parse_json(doc.dump());
  EXPECT_TRUE(golden_mismatches(doc, back).empty());
  EXPECT_EQ(back.find("name")->as_string(), "odd \"name\"\x01\xff");
  EXPECT_EQ(back.find("v")->as_number(), 0.1);
}

}  // namespace
}  // namespace inspect_tests
