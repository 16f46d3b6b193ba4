#!/usr/bin/env python3
"""The report's side view in headless Chromium: the whole flight's trail
drawn in the alerts' colours, and a zoom of the timeline showing only that
time's part of the trail, scaled to it, until the whole flight again.

side_view_browser_test.py GAUGEHOST FLIGHT SIM_ROOT OUT_DIR"""
import os
import subprocess
import sys
import unittest

try:
    from selenium.webdriver.common.action_chains import ActionChains
except ImportError:
    ActionChains = None

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
try:
    from report_browser import Browser, have_browser
    from side_view_pixels import alert_pixels
except ImportError:  # no python3-selenium
    Browser = None

GAUGEHOST, FLIGHT, SIM_ROOT, OUT = sys.argv[1:5] if len(sys.argv) >= 5 else [None] * 4
NONE, CAUTION, WARNING, TERRAIN = range(4)


def now_text(point):
    """A trail point's place as the canvas says it: "nm,ft" as JavaScript writes numbers."""
    js = lambda v: str(int(v)) if float(v).is_integer() else repr(float(v))
    return js(point[1]) + "," + js(point[2])


class SideViewInTheReport(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(OUT, exist_ok=True)
        cls.page = os.path.join(OUT, "side_view_report.html")
        subprocess.run([GAUGEHOST, "fly", FLIGHT, "--root", SIM_ROOT, "--log", os.devnull,
                        "--report", cls.page], check=True, stderr=subprocess.DEVNULL)
        cls.browser = Browser().__enter__()
        cls.browser.open(cls.page)
        cls.data = cls.browser.run("return sideViewData;")

    @classmethod
    def tearDownClass(cls):
        cls.browser.__exit__(None, None, None)

    def setUp(self):
        # Each test starts from the whole flight.
        self.browser.driver.find_element("id", "zoom-all").click()

    def drawn(self):
        return self.browser.run("""const c = document.getElementById('side-view');
            return [Number(c.dataset.points), c.dataset.now];""")

    def pixels(self):
        return alert_pixels(self.browser.driver, self.data["alerts"])

    def test_the_whole_flight_in_the_alerts_colours(self):
        trail = self.data["trail"]
        alerts = {p[3] for p in trail}
        self.assertTrue({NONE, CAUTION, WARNING} <= alerts, alerts)
        self.assertEqual(self.drawn(), [len(trail), now_text(trail[-1])])
        pixels = self.pixels()
        for alert in [NONE, CAUTION, WARNING]:
            self.assertGreater(pixels[alert], 20, f"{self.data['alerts'][alert]['name']}: {pixels}")
        self.assertEqual(pixels[TERRAIN], 0, "no terrain alert on this flight")
        legend = self.browser.run(
            "return document.getElementById('side-view-legend').textContent;")
        for alert in self.data["alerts"]:
            self.assertIn(alert["name"], legend)

    def test_a_zoom_of_the_timeline_shows_its_part_of_the_trail(self):
        trail = self.data["trail"]
        fps = self.browser.run("return timelineData.fps;")
        # A reader drags across the plot's middle fifth, as in the report's own test.
        plot = self.browser.driver.find_element("id", "timeline")
        width = plot.size["width"]
        actions = ActionChains(self.browser.driver)
        actions.move_to_element_with_offset(plot, -width // 10, -40).click_and_hold()
        actions.move_by_offset(width // 5, 0).release().perform()
        start, end = self.browser.run("return timeline.xAxisRange();")
        shown = [p for p in trail if start * fps <= p[0] <= end * fps]
        self.assertTrue(0 < len(shown) < len(trail) / 2, (start, end, len(shown)))
        self.assertEqual(self.drawn(), [len(shown), now_text(shown[-1])])
        # Only the warning's last part: nothing of the trail before it is drawn.
        lamp = next(p[0] for p in trail if p[3] == WARNING)
        last = trail[-1][0]
        self.browser.run("timeline.updateOptions({dateWindow: [arguments[0], arguments[1]]});",
                         lamp / fps, last / fps)
        pixels = self.pixels()
        self.assertGreater(pixels[WARNING], 50, pixels)
        self.assertEqual(pixels[NONE] + pixels[CAUTION], 0, pixels)
        self.browser.driver.find_element("id", "zoom-all").click()
        self.assertEqual(self.drawn()[0], len(trail), "the whole flight again")
        self.assertGreater(self.pixels()[NONE], 20)


def main():
    if Browser is None or not have_browser():
        missing = ("chromium, chromium-driver or python3-selenium is not installed "
                   "(tools/install-deps.sh browser)")
        if os.environ.get("CI") == "true":
            print("FAILED: " + missing)
            return 1
        print("[  SKIPPED ] the report's side view is not checked in a browser: " + missing)
        return 0
    program = unittest.main(argv=[sys.argv[0]], exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
