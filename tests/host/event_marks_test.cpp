// The events' rows as their readers use them: every field a kind names is
// in its log line, and each mark words its events for the summary, the
// report and the live page from the fields its kind names.
#include "host/event_marks.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "host/event_text.h"
#include "host/flight_summary.h"
#include "test_events.h"

namespace {

using K = host::EventKind;
using testing_host::event;

bool is_text(const host::FieldUse& f) {
  return f.field == host::EventField::kLabel || f.field == host::EventField::kText;
}

// The kind's event with `f` set (or not), the other texts it names set too
// when `with_texts`: an element's index shows only beside its gauge's label.
host::Event with_field(const host::EventKindRow& row, const host::FieldUse* f, bool with_texts) {
  host::Event e = testing_host::event(row.kind);
  for (const host::FieldUse& other : row.fields) {
    if (other.label == nullptr) break;
    if (with_texts && is_text(other) && &other != f) {
      testing_host::set_field(e, other, {other.label, "g"});
    }
  }
  if (f == nullptr) return e;
  if (is_text(*f)) {
    testing_host::set_field(e, *f, {f->label, "w"});
  } else if (f->field == host::EventField::kValue) {
    testing_host::set_field(e, *f, {f->label, 2.5});
  } else {
    testing_host::set_field(e, *f, {f->label, 25});
  }
  return e;
}

// A row that names a field its log line never shows would let the log and
// the builders drift apart: setting any named field changes the line, with
// the kind's other texts given or not.
TEST(EventRows, EveryFieldAKindNamesReachesItsLogLine) {
  for (const host::EventKindRow& row : host::kEventKinds) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(host::event_text(event(row.kind)).rfind(row.word, 0), 0u);
    for (const host::FieldUse& f : row.fields) {
      if (f.label == nullptr) break;
      SCOPED_TRACE(f.label);
      bool shown = false;
      for (bool with_texts : {false, true}) {
        shown |= host::event_text(with_field(row, &f, with_texts)) !=
                 host::event_text(with_field(row, nullptr, with_texts));
      }
      EXPECT_TRUE(shown);
    }
  }
}

TEST(EventRows, EachFieldHasOneNameInItsKind) {
  for (const host::EventKindRow& row : host::kEventKinds) {
    SCOPED_TRACE(row.name);
    std::set<std::string> names;
    for (const host::FieldUse& f : row.fields) {
      if (f.label == nullptr) break;
      EXPECT_TRUE(names.insert(f.label).second) << f.label;
      EXPECT_EQ(host::field_named(row.kind, f.label), &f);
    }
    EXPECT_EQ(host::field_named(row.kind, "no such field"), nullptr);
  }
}

struct MarkCase {
  const char* name;
  host::Event event;
  host::MarkKind kind;
  const char* summary;  // the summary's line after the time
  const char* listed;   // the report's text beside the kind
  const char* live;     // the live page's entry after the time
};

// One case per mark row at least: every row is worded, and each reader
// names the mark's kind as the rows say.
TEST(EventMarks, EachMarkIsWordedForEveryReaderFromItsKindsFields) {
  using M = host::MarkKind;
  const MarkCase cases[] = {
      {"a voice heard",
       event(K::kSoundPlay, 18, {{"handle", 4}, {"path", "Sound\\minimums.wav"}, {"started", 1}}),
       M::kVoice, "voice  Sound\\minimums.wav", "minimums", "voice minimums"},
      {"a refused play", event(K::kSoundPlay, 18, {{"handle", 4}, {"path", "Sound\\pullup.wav"}}),
       M::kSoundFailed, "sound  Sound\\pullup.wav: play failed", "pullup: play failed",
       "sound failed pullup: play failed"},
      {"a refused play of no sound", event(K::kSoundPlay, 18, {{"handle", 9}}), M::kSoundFailed,
       "sound  ?: play failed", "?: play failed", "sound failed ?: play failed"},
      {"a failed load", event(K::kSoundLoad, 18, {{"path", "Sound/terrain1.wav"}}), M::kSoundFailed,
       "sound  Sound/terrain1.wav: load failed", "terrain1: load failed",
       "sound failed terrain1: load failed"},
      {"a key event", event(K::kKeyEvent, 18, {{"event", 65814}, {"value", 3}}), M::kKey,
       "key    65814", "key 65814", "key 65814"},
      {"a lamp shown",
       event(K::kElementFlags, 18,
             {{"gauge", "below"}, {"element", 1}, {"before", 0x40000007}, {"now", 0x7}}),
       M::kLamp, "lamp   below#1 shown", "below#1 shown", "lamp below#1 shown"},
      {"a lamp hidden",
       event(K::kElementFlags, 18,
             {{"gauge", "radalt"}, {"element", 6}, {"before", 0x3}, {"now", 0x40000003}}),
       M::kLamp, "lamp   radalt#6 hidden", "radalt#6 hidden", "lamp radalt#6 hidden"},
      {"a named variable", event(K::kNamedWrite, 18, {{"variable", "radalt_gpws"}, {"value", -1}}),
       M::kVar, "var    \"radalt_gpws\" = -1", "radalt_gpws = -1", "var radalt_gpws = -1"},
  };
  std::set<const host::MarkRow*> rows;
  for (const MarkCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<host::Mark> mark = host::mark_of(c.event);
    ASSERT_TRUE(mark.has_value());
    rows.insert(mark->row);
    EXPECT_EQ(mark->kind(), c.kind);
    const std::vector<std::string> summary = host::summarize({c.event}, 18.0);
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_EQ(summary[0], std::string("    1.00 s  ") + c.summary);
    EXPECT_EQ(mark->listed_text(), c.listed);
    EXPECT_EQ(mark->live_text(), c.live);
  }
  EXPECT_EQ(rows.size(), std::size(host::kMarks)) << "every mark row worded";
}

TEST(EventMarks, EventsPeopleAreNotShownMakeNoMark) {
  const host::Event cases[] = {
      event(K::kSoundLoad, 0, {{"path", "Sound\\a.wav"}, {"loaded", 1}, {"handle", 1}}),
      event(K::kSoundStop, 0, {{"handle", 1}, {"path", "Sound\\a.wav"}}),
      event(K::kElementFlags, 0, {{"gauge", "test"}, {"element", 1}, {"before", 1}, {"now", 3}}),
      event(K::kLookup, 0, {{"token", 73}}),
      event(K::kGaugeService, 0, {{"gauge", "test"}, {"service", 2}}),
  };
  for (const host::Event& e : cases) {
    SCOPED_TRACE(host::event_text(e));
    EXPECT_FALSE(host::mark_of(e).has_value());
  }
  EXPECT_TRUE(
      host::summarize(std::vector<host::Event>(std::begin(cases), std::end(cases)), 18.0).empty());
}

// The words of every mark name only fields its kind has: a name the row
// of the kind lacks would show as itself, braces and all.
TEST(EventMarks, EveryNameInAMarksWordsIsAFieldOfItsKind) {
  for (const host::MarkRow& row : host::kMarks) {
    for (const char* words : {row.summary, row.listed, row.live}) {
      SCOPED_TRACE(words);
      const std::string text = host::mark_text(words, event(row.from));
      EXPECT_EQ(text.find('{'), std::string::npos) << text;
    }
  }
}

}  // namespace
