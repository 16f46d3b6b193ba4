#!/usr/bin/env python3
"""The report in headless Chromium, as a reader uses it: the sound track
plays for the flight's length, zooming the timeline narrows the time shown,
and the elements are pictured.

report_browser_test.py GAUGEHOST FLIGHT SIM_ROOT OUT_DIR"""
import os
import subprocess
import sys
import unittest

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


def main():
    if Browser is None or not have_browser():
        print("[  SKIPPED ] the report is not checked in a browser: chromium, chromium-driver "
              "or python3-selenium is not installed (tools/install-deps.sh browser)")
        return 0
    program = unittest.main(argv=[sys.argv[0]], exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
