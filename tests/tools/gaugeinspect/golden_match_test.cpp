// The golden comparison: what a hand-written description accepts and what
// it reports, and the report's JSON layout read back.
#include "tests/tools/gaugeinspect/golden_match.h"

#include <gtest/gtest.h>

#include "tools/gaugeinspect/json_layout.h"

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
    const char* place;
  };
  const Row kRows[] = {
      {"", "line 1, column 1"},      {"{\"a\" 1}", "line 1, column 6"},
      {"[1, 2", "line 1, column 6"}, {"{\n  \"a\": tru}", "line 2, column 11"},
      {"\"abc", "line 1, column 5"}, {"1 2", "line 1, column 3"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.text);
    try {
      parse_json(row.text);
      ADD_FAILURE() << "accepted";
    } catch (const nlohmann::json::parse_error& e) {
      EXPECT_NE(std::string(e.what()).find(row.place), std::string::npos) << e.what();
    }
  }
  std::string deep(100, '[');
  EXPECT_THROW(parse_json(deep), nlohmann::json::parse_error);
}

TEST(JsonLayout, WritesWhatItReadsBack) {
  gaugeinspect::Json doc = {{"name", "odd \"name\"\x01\xff"},
                            {"n", -1},
                            {"v", 0.1},
                            {"list", {false, nullptr}},
                            {"table", {{{"x", 1}, {"y", 2.5}}}}};
  const std::string text = gaugeinspect::json_text(doc);
  EXPECT_EQ(text,
            "{\n"
            "  \"name\": \"odd \\\"name\\\"\\u0001\\u00ff\",\n"
            "  \"n\": -1,\n"
            "  \"v\": 0.1,\n"
            "  \"list\": [false, null],\n"
            "  \"table\": [\n"
            "    {\"x\": 1, \"y\": 2.5}\n"
            "  ]\n"
            "}\n");
  const gaugeinspect::Json back = parse_json(text);
  // Each byte of a name is written as the code point of the same number,
  // which a reader gives back in UTF-8.
  EXPECT_EQ(back["name"], "odd \"name\"\x01\xc3\xbf");
  doc["name"] = back["name"];
  EXPECT_TRUE(golden_mismatches(doc, back).empty());
  EXPECT_EQ(back["v"].get<double>(), 0.1);
}

}  // namespace
}  // namespace inspect_tests
