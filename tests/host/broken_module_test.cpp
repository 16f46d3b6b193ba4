// Broken modules: the host refuses each with a message that says what is
// wrong, reads nothing outside the module's records and does not crash.
#include <gtest/gtest.h>

#include <string>

#include "host/host_error.h"
#include "host/render/bitmap_library.h"
#include "host/render/gauge_renderer.h"
#include "host_fixture.h"

namespace {

struct Row {
  const char* module;
  const char* expected;  // part of the host's message
};

// The message the host gives when it places the module's gauge and starts.
std::string placing_error(const char* module) {
  host::PanelHost panel(testing_host::options());
  try {
    panel.add_gauge(module, "gauge");
    panel.start();
    panel.run_frame();
  } catch (const host::HostError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(BrokenModule, IsRefusedWithAMessageThatSaysWhy) {
  const Row rows[] = {
      {"broken_exports", "is not a gauge module: it does not export Linkage"},
      {"broken_endless_list", "the Linkage gauge list does not end"},
      {"broken_version", "gauge 0 is not a version 700 gauge header"},
      {"broken_null_name", "gauge 0 is not a version 700 gauge header"},
      {"broken_chain_loop", "gauge gauge: its element chain does not end"},
      {"broken_mouse_list", "gauge gauge: its mouse list does not end"},
      {"broken_missing", "cannot load"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.module);
    std::string message = placing_error(row.module);
    EXPECT_NE(message.find(row.expected), std::string::npos) << message;
    if (std::string(row.module) != "broken_missing") {
      EXPECT_NE(message.find(row.module), std::string::npos) << "the message names the module file";
    }
  }
}

// The host stays usable after refusing a module: a good one loads next.
TEST(BrokenModule, LeavesTheHostUsable) {
  for (const char* module : {"broken_exports", "broken_chain_loop", "broken_mouse_list"}) {
    SCOPED_TRACE(module);
    host::PanelHost panel(testing_host::options());
    EXPECT_THROW(panel.add_gauge(module, "gauge"), host::HostError);
    EXPECT_EQ(panel.add_gauge("broken_bitmap", "gauge"), "gauge");
    panel.start();
    panel.run_frames(3);
    EXPECT_EQ(panel.frame(), 3u);
  }
}

// A picture names a bitmap the module does not carry: the render says which.
TEST(BrokenModule, MissingBitmapIsNamedWhenDrawing) {
  const Row rows[] = {{"broken_bitmap", "module broken_bitmap, bitmap 4242: cannot read"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.module);
    host::PanelHost panel(testing_host::options());
    panel.add_gauge(row.module, "gauge");
    panel.start();
    panel.run_frame();
    host::render::BitmapLibrary bitmaps;
    std::string message = "(no error)";
    try {
      host::render::render_gauge(panel.gauge("gauge"), bitmaps);
    } catch (const host::HostError& error) {
      message = error.what();
    }
    EXPECT_NE(message.find(row.expected), std::string::npos) << message;
  }
}

}  // namespace
