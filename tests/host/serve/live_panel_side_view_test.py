#!/usr/bin/env python3
"""The live page's side view in headless Chromium: `gaugehost serve` plays a
flight that flies the aircraft down through the GPWS's sink-rate band and
past its pull-up line; the page shows the side view under the panel, its
trail drawn from the session's state in the alerts' colours as they come,
growing with the flight, and once paused, every point of the state's trail
drawn up to the aircraft now.

    live_panel_side_view_test.py GAUGEHOST SIM_ROOT FLIGHT OUT_DIR

Exits 77 (skipped) when the browser group is not installed, unless CI=true.
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from live_server_client import Server, browser_or_skip, check, finish  # noqa: E402

browser_or_skip("side view", "the live side view is not checked in a browser")
from report_browser import Browser  # noqa: E402
from side_view_pixels import alert_pixels  # noqa: E402

GAUGEHOST, SIM_ROOT, FLIGHT, OUT = sys.argv[1:5]
NONE, CAUTION, WARNING = range(3)


def wait_for(what, test, seconds=40.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = test()
        if value:
            return value
        time.sleep(0.2)
    raise AssertionError(f"waited {seconds} s for {what}")


def main():
    server = Server(GAUGEHOST, SIM_ROOT, FLIGHT, os.path.dirname(FLIGHT), OUT)
    try:
        with Browser() as browser:
            fly(server, browser)
    finally:
        code = server.stop()
    check(code == 0, f"the server stops on its own terms (exit {code}): {server.stderr()}")
    finish()


def fly(server, browser):
    driver = browser.driver
    driver.get(f"{server.origin}/")
    drawn = lambda: driver.execute_script("""
        const c = document.getElementById('side-view');
        return {shown: !document.getElementById('side-view-box').hidden,
                points: Number(c.dataset.points || 0), now: c.dataset.now || ''};""")
    first = wait_for("the side view to show a trail", lambda: drawn()["points"] > 20 and drawn())
    check(first["shown"], "the side view is shown once the aircraft flies")
    alerts = server.state()["side_view"]["alerts"]
    check([a["name"] for a in alerts][:3] == ["no alert", "caution voice", "warning lamp"],
          f"the state names the alerts ({[a['name'] for a in alerts]})")
    wait_for("a caution on the trail", lambda: alert_pixels(driver, alerts)[CAUTION] > 20)
    check(True, "the trail turns to the caution voice's colour (the sink rate)")
    wait_for("the warning on the trail", lambda: alert_pixels(driver, alerts)[WARNING] > 20)
    check(True, "then to the warning lamp's colour (pull up)")
    pixels = alert_pixels(driver, alerts)
    check(pixels[NONE] > 10, f"the trail before the alerts in the no-alert colour ({pixels})")
    later = drawn()
    check(later["points"] > first["points"], f"the trail grows ({first['points']} -> {later['points']})")
    legend = driver.execute_script("return document.getElementById('side-view-legend').textContent;")
    check(all(a["name"] in legend for a in alerts), f"the legend names every alert ({legend})")

    server.post("/api/pause")
    paused = wait_for("the pause", lambda: (s := server.state()) and s["paused"] and s)
    time.sleep(0.5)  # the page hears the paused state
    trail = server.state()["side_view"]["trail"]
    js = lambda v: str(int(v)) if float(v).is_integer() else repr(float(v))
    now = drawn()
    check(now["points"] == len(trail), f"every point of the trail is drawn ({now['points']} of {len(trail)})")
    check(now["now"] == js(trail[-1][1]) + "," + js(trail[-1][2]),
          f"the aircraft now is the trail's last point ({now['now']}, frame {paused['frame']})")
    check([p[0] for p in trail] == sorted({p[0] for p in trail}), "the trail runs in frame order")
    check(trail[0][1] > trail[-1][1] and trail[0][2] > trail[-1][2],
          "towards the runway and down")


main()
