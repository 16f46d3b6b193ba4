// The live panel's HTTP answers, in-process: a session flying on its own
// thread while bad requests are refused with a 4xx status and a message, the
// flight going on unharmed; two readers see the same panel; the page's own
// files are served and fetch nothing from elsewhere.
#include "host/serve/live_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <nlohmann/json.hpp>
#include <thread>

#include "host/report/gpws_alert.h"
#include "host/report/timeline_chart.h"
#include "host/serve/live_loop.h"
#include "host/serve/page_assets.h"
#include "host_fixture.h"

namespace {

using nlohmann::json;
using namespace host::serve;

class LiveServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loop_ = std::make_unique<LiveLoop>(
        exchange_, LoopSettings{testing_host::options(), SCENARIO_DIR "/panel.cfg", SCENARIO_DIR,
                                nullptr, nullptr});
    server_ = std::make_unique<LiveServer>(
        exchange_,
        ServerSettings{"127.0.0.1", 0, SIM_ROOT, LiveLoop::scenarios(SCENARIO_DIR), nullptr, ""});
    port_ = server_->bind();
    ASSERT_GT(port_, 0);
    http_ = std::thread([this] { server_->listen(); });
    host_ = std::thread([this] { loop_->run([this] { return !done_; }); });
  }
  void TearDown() override {
    done_ = true;
    exchange_.stop();
    server_->stop();
    if (http_.joinable()) http_.join();
    if (host_.joinable()) host_.join();
    loop_.reset();
  }

  httplib::Client client() const {
    httplib::Client c("127.0.0.1", port_);
    c.set_read_timeout(5);
    // As the page's own requests are: changes come from its origin.
    c.set_default_headers({{"Origin", "http://127.0.0.1:" + std::to_string(port_)}});
    return c;
  }
  json state(uint64_t seen = 0) {
    auto answer = client().Get("/api/state?version=" + std::to_string(seen));
    EXPECT_TRUE(answer && answer->status == 200);
    return answer ? json::parse(answer->body) : json();
  }
  // The state once `ready` says so: each poll waits for the next change.
  json state_when(const std::function<bool(const json&)>& ready) {
    json s = state();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!ready(s) && std::chrono::steady_clock::now() < end) s = state(s["version"]);
    EXPECT_TRUE(ready(s)) << s.dump();
    return s;
  }
  // Waits until the host's thread has applied what was queued and flown on.
  json state_after(uint32_t frames) {
    const uint32_t from = state()["frame"];
    return state_when([&](const json& s) { return s["frame"] >= from + frames; });
  }

  LiveExchange exchange_;
  std::unique_ptr<LiveLoop> loop_;
  std::unique_ptr<LiveServer> server_;
  int port_ = 0;
  std::atomic<bool> done_{false};
  std::thread http_, host_;
};

TEST_F(LiveServerTest, BadRequestsAre4xxAndTheFlightGoesOn) {
  auto c = client();
  ASSERT_EQ(
      c.Post("/api/set", "name=altitude_m&value=250", "application/x-www-form-urlencoded")->status,
      200);
  const struct {
    const char* method;
    const char* path;
    std::string body;
    int status;
    const char* message;  // its beginning
  } cases[] = {
      {"POST", "/api/set", "name=altitude&value=1", 404, "unknown variable 'altitude'"},
      {"POST", "/api/set", "name=73&value=1", 404, "unknown variable '73'"},
      {"POST", "/api/set", "name=altitude_m&value=low", 400, "altitude_m must be a number"},
      {"POST", "/api/set", "name=altitude_m&value=NaN", 400, "altitude_m must be a number"},
      {"POST", "/api/set", "name=altitude_m&value=1e400", 400, "altitude_m must be a finite"},
      {"POST", "/api/set", "name=altitude_m&value=99999", 400, "altitude_m must be between"},
      {"POST", "/api/set", "name=altitude_m", 400, "altitude_m must be a number, not ''"},
      {"POST", "/api/set", "name=altitude_m&value=" + std::string(kMaxBody, '1'), 413,
       "request too large (at most 4096 bytes)"},
      {"POST", "/api/press", "x=2000&y=5", 400, "x must be between 0 and"},
      {"POST", "/api/press", "x=1&y=1", 400, "no gauge at 1, 1"},
      {"POST", "/api/release", "gauge=../radalt", 404, "no gauge '../radalt' on this panel"},
      {"POST", "/api/speed", "value=-1", 400, "speed must be between 0.1 and 8"},
      {"POST", "/api/scenario", "name=../panel.cfg", 404, "no flight '../panel.cfg'"},
      {"GET", "/api/sound?path=..%2F..%2Fetc%2Fpasswd", "", 404, "no sound '../../etc/passwd'"},
      {"GET", "/api/nothing", "", 404, "no such page or call: /api/nothing"},
      {"GET", "/index.php", "", 404, "no such page or call: /index.php"},
      {"POST", "/api/state", "", 404, "no such page or call"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(std::string(t.method) + " " + t.path + " " + t.body.substr(0, 40));
    auto answer = std::string(t.method) == "GET"
                      ? c.Get(t.path)
                      : c.Post(t.path, t.body, "application/x-www-form-urlencoded");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, t.status);
    EXPECT_EQ(answer->body.rfind(t.message, 0), 0u) << answer->body;
  }
  const json after = state_after(3);
  EXPECT_EQ(after["vars"]["altitude_m"], 250.0) << "only the good value reached the host";
  EXPECT_FALSE(after["ended"]);
  auto saved = c.Get("/api/flight");
  ASSERT_TRUE(saved && saved->status == 200);
  EXPECT_NE(saved->body.find("set altitude_m 250\n"), std::string::npos) << saved->body;
  EXPECT_EQ(saved->body.find("set altitude_m 99999"), std::string::npos);
  EXPECT_EQ(saved->get_header_value("Content-Disposition"),
            "attachment; filename=\"live_panel.flight\"");
}

TEST_F(LiveServerTest, PauseStepAndTwoReadersOfOnePanel) {
  auto c = client();
  c.Post("/api/pause", "", "application/x-www-form-urlencoded");
  const json paused = state_when([](const json& s) { return s["paused"] == true; });
  const uint32_t frame = paused["frame"];
  c.Post("/api/step", "", "application/x-www-form-urlencoded");
  const json stepped = state_when([&](const json& s) { return s["frame"] != frame; });
  EXPECT_EQ(stepped["frame"], frame + 1);
  EXPECT_TRUE(stepped["paused"]);

  auto second = client();
  auto one = c.Get("/api/panel.png");
  auto two = second.Get("/api/panel.png");
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->get_header_value("Content-Type"), "image/png");
  EXPECT_EQ(one->body, two->body) << "paused: both tabs see the same picture";
  EXPECT_EQ(one->body.substr(1, 3), "PNG");
  const json layout = json::parse(second.Get("/api/panel")->body);
  EXPECT_EQ(layout["gauges"][0]["label"], "radalt");
  EXPECT_EQ(layout["gauges"][0]["areas"][1]["cursor"], 1);
  EXPECT_EQ(layout["gauges"][0]["areas"][1]["repeats"], true);
}

TEST_F(LiveServerTest, AFlightOfTheScenariosPlaysUntilTakenOver) {
  auto c = client();
  const uint64_t first = state()["session"];
  ASSERT_EQ(
      c.Post("/api/scenario", "name=radar_altimeter.flight", "application/x-www-form-urlencoded")
          ->status,
      200);
  json s = state_when([&](const json& now) { return now["session"] != first; });
  EXPECT_EQ(s["title"], "radar_altimeter.flight");
  EXPECT_TRUE(s["playing"]);
  const json layout = json::parse(c.Get("/api/panel")->body);
  EXPECT_EQ(layout["gauges"].size(), 1u) << "the flight's own panel: the radar altimeter alone";
  c.Post("/api/takeover", "", "application/x-www-form-urlencoded");
  state_when([](const json& now) { return now["playing"] == false; });
  const std::string saved = c.Get("/api/flight")->body;
  EXPECT_NE(saved.find("register radalt_gpws\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("gauge vrn_radalt radalt\n"), std::string::npos) << saved;
}

TEST_F(LiveServerTest, ThePageIsBuiltInAndFetchesNothingFromElsewhere) {
  auto c = client();
  auto page = c.Get("/");
  ASSERT_TRUE(page && page->status == 200);
  EXPECT_NE(page->body.find("<canvas id=\"panel\""), std::string::npos);
  EXPECT_EQ(c.Get("/live.js")->get_header_value("Content-Type"), "text/javascript; charset=utf-8");
  for (const PageAsset& asset : page_assets()) {
    const std::string text(reinterpret_cast<const char*>(asset.bytes), asset.size);
    EXPECT_EQ(text.find("://"), std::string::npos) << asset.path << " names another place";
  }
  const json variables = json::parse(c.Get("/api/variables")->body);
  EXPECT_EQ(variables.size(), 20u);
  EXPECT_EQ(variables[0]["name"], "altitude_m");
  const json scenarios = json::parse(c.Get("/api/scenarios")->body);
  EXPECT_NE(std::find(scenarios.begin(), scenarios.end(), "approach.flight"), scenarios.end());
}

// The side view under the panel: nothing before an aircraft flies, then the
// report's own data of the session, its trail growing to the frame shown,
// its glide path once one is set; a new session starts without one.
TEST_F(LiveServerTest, TheSideViewIsShownOnceAnAircraftFlies) {
  EXPECT_TRUE(state()["side_view"].is_null());
  const auto fly = [this](std::vector<std::string> words) {
    LiveInput input;
    input.line = {"test", words[0], {words.begin() + 1, words.end()}};
    exchange_.push(std::move(input));
  };
  fly({"aircraft", "3", "nm", "1000", "ft", "140", "kt", "-700", "fpm"});
  json s = state_when([](const json& s) {
    return s["side_view"].is_object() && s["side_view"]["trail"].size() >= 5;
  });
  const json& view = s["side_view"];
  EXPECT_EQ(view["profile"], json::parse("[[0,0]]")) << "level ground at sea level";
  EXPECT_TRUE(view["glide_path"].is_null());
  const json& last = view["trail"].back();
  EXPECT_EQ(last[0], s["frame"]) << "the aircraft now";
  EXPECT_LT(last[1].get<double>(), 3.0);
  EXPECT_LT(last[2].get<double>(), 1000.0);
  EXPECT_EQ(last[3], 0) << "no alert";
  ASSERT_EQ(view["alerts"].size(), std::size(host::report::kGpwsAlerts));
  for (size_t i = 0; i < view["alerts"].size(); ++i) {
    EXPECT_EQ(view["alerts"][i]["name"], host::report::kGpwsAlerts[i].name);
    EXPECT_EQ(view["alerts"][i]["colour"], host::report::kGpwsAlerts[i].colour);
  }
  fly({"glidepath", "3", "deg"});
  s = state_when([](const json& s) { return s["side_view"]["glide_path"].is_object(); });
  EXPECT_EQ(s["side_view"]["glide_path"]["angle_deg"], 3.0);
  EXPECT_EQ(s["side_view"]["glide_path"]["threshold_elevation_ft"], 0.0);
  EXPECT_NEAR(s["side_view"]["glide_path"]["feet_per_nm"].get<double>(), 318.4, 0.1);

  const uint64_t session = s["session"];
  client().Post("/api/scenario", "name=radar_altimeter.flight",
                "application/x-www-form-urlencoded");
  s = state_when([&](const json& now) { return now["session"] != session; });
  EXPECT_TRUE(s["side_view"].is_null());
}

// The page plots what the report plots: the same series, labels, units,
// colours and axes (the sample panel has a radar altimeter), each with its
// value now, read as the report reads it.
TEST_F(LiveServerTest, ThePagePlotsTheReportsSeriesWithTheirValues) {
  ASSERT_EQ(client()
                .Post("/api/set", "name=altitude_m&value=250", "application/x-www-form-urlencoded")
                ->status,
            200);
  const json s = state_when([](const json& s) { return s["vars"]["altitude_m"] == 250.0; });
  const json& series = s["series"];
  const auto rows = host::report::plotted_series(true);
  ASSERT_EQ(series.size(), rows.size()) << s.dump();
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i]->key);
    json drawn = series[i];
    const json value = drawn["value"];
    drawn.erase("value");
    EXPECT_EQ(drawn, json::parse(host::report::series_json(*rows[i])));
    EXPECT_EQ(s[rows[i]->key], value) << "under its own key too";
  }
  const double ground_m = s["vars"]["ground_elevation_m"];
  EXPECT_NEAR(series[0]["value"].get<double>(), (250.0 - ground_m) * 3.28084, 1e-6);
}

// The page's flying commands: refused ones answered 4xx with the row's own
// words, the rest flown, and the state tells of the aircraft they fly.
TEST_F(LiveServerTest, FlyingCommandsFlyTheAircraftTheStateShows) {
  auto c = client();
  auto fly = [&](const std::string& line) {
    return c.Post("/api/fly", "line=" + httplib::detail::encode_query_param(line),
                  "application/x-www-form-urlencoded");
  };
  EXPECT_TRUE(state()["aircraft"].is_null()) << "no aircraft flies at first";
  ASSERT_EQ(fly("descend 400 fpm")->status, 200) << "queued: refused in flight, not here";
  const struct {
    const char* line;
    int status;
    const char* message;  // a part of it
  } refused[] = {
      {"climb -5 fpm", 400, "live: "},
      {"speed fast kt", 400, "live: "},
      {"gear sideways", 400, "live: "},
      {"aircraft 5 nm", 400, "live: "},
      {"terrain ../../etc/passwd", 404, "'terrain' does not fly the aircraft"},
      {"release altitude_m", 404, "'release' does not fly the aircraft"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.line);
    auto answer = fly(r.line);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, r.status);
    EXPECT_NE(answer->body.find(r.message), std::string::npos) << answer->body;
  }
  ASSERT_EQ(fly("aircraft 4 nm 1200 ft 150 kt -300 fpm")->status, 200);
  ASSERT_EQ(fly("descend 900 fpm")->status, 200);
  ASSERT_EQ(fly("gear down")->status, 200);
  const json s = state_when([](const json& s) {
    return s["aircraft"].is_object() && s["aircraft"]["vertical_speed_fpm"] < -300.0;
  });
  const json& a = s["aircraft"];
  EXPECT_EQ(a["commanded_vertical_speed_fpm"], -900.0);
  EXPECT_EQ(a["commanded_speed_kt"], 150.0);
  EXPECT_EQ(a["gear_lever_down"], true);
  EXPECT_LT(a["distance_nm"].get<double>(), 4.0);
  EXPECT_LT(a["altitude_ft"].get<double>(), 1200.0);
  EXPECT_EQ(a["power"], true);
  EXPECT_TRUE(a["following_dots"].is_null());
  EXPECT_NEAR(s["vars"]["altitude_m"].get<double>(), a["altitude_ft"].get<double>() * 0.3048, 1e-6)
      << "the aircraft serves the altitude";
  const std::string notes = state()["events"].dump();
  EXPECT_NE(notes.find("refused: "), std::string::npos) << notes;
  const std::string saved = c.Get("/api/flight")->body;
  EXPECT_NE(saved.find("\naircraft 4 nm 1200 ft 150 kt -300 fpm\ndescend 900 fpm\ngear down\n"),
            std::string::npos)
      << saved;
  EXPECT_EQ(saved.find("descend 400 fpm"), std::string::npos) << "the refused line is not kept";
}

}  // namespace
