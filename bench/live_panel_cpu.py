#!/usr/bin/env python3
"""The live panel's cost: CPU time of `gaugehost serve` with one page open.

Serves a flight whose needles move (the approach: the radar altimeter's
pointer turns as the height ramps down), opens the page in
headless Chromium, and reads the host process's CPU time (/proc/PID/stat)
over SECONDS of wall time. With OUT.md, writes the figures as the section
"## The live panel" of that page (replacing it when there), else prints it.

    live_panel_cpu.py GAUGEHOST SIM_ROOT FLIGHT [SECONDS] [OUT.md]
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import json
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

HEADING = "## The live panel"
TARGET = 10.0  # per cent of one core


def cpu_seconds(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def state(url):
    return json.load(urllib.request.urlopen(url + "api/state"))


def measure(gaugehost, root, flight, seconds):
    profile = tempfile.mkdtemp(prefix="live_cpu_")
    host = subprocess.Popen([gaugehost, "serve", flight, "--root", root, "--port", "0"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = host.stdout.readline()
    url = line[line.index("http://"):].split()[0]
    options = webdriver.ChromeOptions()
    for arg in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update",
                "--disable-sync", "--autoplay-policy=no-user-gesture-required",
                "--user-data-dir=" + profile]:
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
    try:
        driver.get(url)
        time.sleep(2)
        start_cpu, start_wall, start = cpu_seconds(host.pid), time.monotonic(), state(url)
        time.sleep(seconds)
        cpu, wall, end = cpu_seconds(host.pid) - start_cpu, time.monotonic() - start_wall, state(url)
    finally:
        driver.quit()
        host.terminate()
        host.wait()
        shutil.rmtree(profile, ignore_errors=True)
    frames = end["frame"] - start["frame"]
    pictures = end["picture"] - start["picture"]
    return cpu / wall * 100, frames / wall, pictures / wall, wall


def section(gaugehost, flight, result):
    percent, fps, pictures, wall = result
    met = "met" if percent < TARGET else "**not met**"
    return "\n".join([
        HEADING,
        "",
        f"Command: `python3 bench/live_panel_cpu.py {gaugehost} ROOT {flight}`",
        "(run by `make bench` when the browser group is installed): `gaugehost serve` of the",
        "flight with one page open in",
        "headless Chromium; the host process's CPU time (all its threads: the flight, the pictures",
        "and the HTTP server) over the wall time.",
        "",
        f"Over {wall:.0f} s: **{percent:.1f}% of one core**, {fps:.1f} frames per second flown, "
        f"{pictures:.1f} panel pictures",
        "drawn, encoded and sent per second (a picture is made when something visible changed);",
        f"target under {TARGET:.0f}%: {met}.",
        "",
    ])


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    gaugehost, root, flight = sys.argv[1:4]
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 15.0
    text = section(gaugehost, flight, measure(gaugehost, root, flight, seconds))
    if len(sys.argv) <= 5:
        print(text)
        return
    out = sys.argv[5]
    page = open(out, encoding="utf-8").read() if os.path.exists(out) else ""
    kept = re.split(r"^" + re.escape(HEADING) + r"$", page, flags=re.M)[0].rstrip("\n")
    with open(out, "w", encoding="utf-8") as f:
        f.write((kept + "\n\n" if kept else "") + text)
    print(f"wrote {out}:\n{text}")


main()
