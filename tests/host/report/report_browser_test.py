#!/usr/bin/env python3
"""The report in headless Chromium, as a reader uses it: the sound track
plays for the flight's length, zooming the timeline narrows the time shown,
and the elements are pictured.

report_browser_test.py GAUGEHOST FLIGHT SIM_ROOT OUT_DIR"""
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
except ImportError:  # no python3-selenium
    Browser = None

GAUGEHOST, FLIGHT, SIM_ROOT, OUT = sys.argv[1:5] if len(sys.argv) >= 5 else [None] * 4
FRAMES_PER_SECOND = 18.0


def flight_seconds(flight):
    """The flight's length: its frames counted as gaugehost logs them."""
    log = subprocess.run([GAUGEHOST, "fly", flight, "--root", SIM_ROOT], check=True,
                         capture_output=True, text=True).stdout
    frames = 0
    for line in log.splitlines():
        word = line.split(" ", 1)[0]
        if word.isdigit():
            frames = max(frames, int(word))
    return frames / FRAMES_PER_SECOND


class ReportInBrowser(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(OUT, exist_ok=True)
        cls.page = os.path.join(OUT, "approach_report.html")
        subprocess.run([GAUGEHOST, "fly", FLIGHT, "--root", SIM_ROOT, "--log", os.devnull,
                        "--report", cls.page], check=True, stderr=subprocess.DEVNULL)
        cls.seconds = flight_seconds(FLIGHT)
        cls.browser = Browser().__enter__()
        cls.browser.open(cls.page)

    @classmethod
    def tearDownClass(cls):
        cls.browser.__exit__(None, None, None)

    def test_the_sound_track_plays_for_the_flights_length(self):
        got = self.browser.run_async("""
            const done = arguments[0];
            const a = document.getElementById('track');
            const report = () => done({duration: a.duration, error: a.error && a.error.code});
            if (a.readyState >= 1) report();
            else { a.addEventListener('loadedmetadata', report); a.addEventListener('error', report); }
        """)
        self.assertIsNone(got["error"])
        self.assertAlmostEqual(got["duration"], self.seconds, delta=1.0 / FRAMES_PER_SECOND)
        played = self.browser.run_async("""
            const done = arguments[0];
            const a = document.getElementById('track');
            a.muted = true;
            a.play().then(() => setTimeout(() => { done(a.currentTime); a.pause(); }, 700),
                          e => done(-1));
        """)
        self.assertGreater(played, 0.2, "the player moves on while playing")

    def test_zooming_narrows_the_time_shown(self):
        whole = self.browser.run("return timeline.xAxisRange();")
        self.assertAlmostEqual(whole[0], 0.0, delta=0.01)
        self.assertAlmostEqual(whole[1], self.seconds, delta=1.0 / FRAMES_PER_SECOND)
        ticks_before = self.visible_ticks()
        # A reader drags across the middle fifth of the plot.
        plot = self.browser.driver.find_element("id", "timeline")
        width = plot.size["width"]
        actions = ActionChains(self.browser.driver)  # offsets from the plot's middle
        actions.move_to_element_with_offset(plot, -width // 10, -40).click_and_hold()
        actions.move_by_offset(width // 5, 0).release().perform()
        dragged = self.browser.run("return timeline.xAxisRange();")
        self.assertGreater(dragged[0], whole[0] + 1.0)
        self.assertLess(dragged[1], whole[1] - 1.0)
        self.assertLess(dragged[1] - dragged[0], (whole[1] - whole[0]) / 2)
        self.assertNotEqual(self.visible_ticks(), ticks_before, "the axis shows other times")
        # The buttons: zoom in halves what is shown, the whole flight restores it.
        self.browser.driver.find_element("id", "zoom-in").click()
        zoomed = self.browser.run("return timeline.xAxisRange();")
        self.assertAlmostEqual(zoomed[1] - zoomed[0], (dragged[1] - dragged[0]) / 2, delta=0.01)
        self.browser.driver.find_element("id", "zoom-all").click()
        self.assertEqual(self.browser.run("return timeline.xAxisRange();"), whole)

    def visible_ticks(self):
        return self.browser.run("""return [...document.querySelectorAll(
            '#timeline .dygraph-axis-label-x')].map(e => e.textContent);""")

    def test_elements_are_pictured(self):
        pictured = self.browser.run("""
            return [...document.querySelectorAll('img.element')].map(i => [
                i.closest('section, p').id || i.closest('section, p').className,
                i.alt, i.complete && i.naturalWidth > 0]);""")
        places = {place for place, _, _ in pictured}
        for place in ["summary", "snapshots", "facts elements"]:
            self.assertIn(place, places)
        self.assertTrue(all(loaded for _, _, loaded in pictured), pictured)
        self.assertIn("dh_lamp of radalt", {alt for _, alt, _ in pictured}, "the DH lamp")
        # The timeline's labels draw the same pictures, decoded for its canvas.
        drawn = self.browser.run_async("""
            const done = arguments[0];
            setTimeout(() => done(document.querySelectorAll('img.element').length), 300);""")
        self.assertGreater(drawn, 0)
        # Hovering over the DH lamp's marker names it with its picture.
        x = self.browser.run("""
            const lamp = timelineData.events.find(e => e[2] === 'dh_lamp of radalt shown');
            return timeline.toDomXCoord(lamp[0] / timelineData.fps);""")
        plot = self.browser.driver.find_element("id", "timeline")
        ActionChains(self.browser.driver).move_to_element_with_offset(
            plot, round(x - plot.size["width"] / 2), -40).perform()
        readout = self.browser.run("return document.getElementById('timeline-readout').innerHTML;")
        self.assertIn("dh_lamp of radalt shown", readout)
        self.assertIn('<img class="element"', readout)


def main():
    if Browser is None or not have_browser():
        missing = ("chromium, chromium-driver or python3-selenium is not installed "
                   "(tools/install-deps.sh browser)")
        if os.environ.get("CI") == "true":
            print("FAILED: " + missing)  # the CI machine installs every group
            return 1
        print("[  SKIPPED ] the report is not checked in a browser: " + missing)
        return 0
    program = unittest.main(argv=[sys.argv[0]], exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
