#!/usr/bin/env python3
"""The live panel's cost: CPU time of `gaugehost serve` with one page open.

For each flight, serves it, opens the page in headless Chromium and reads
the host process's CPU time (/proc/PID/stat) over SECONDS of wall time.
With --out, writes the figures as the section "## The live panel" of that
page (replacing it when there), else prints it.

    live_panel_cpu.py GAUGEHOST SIM_ROOT SECONDS [--out OUT.md] FLIGHT...
"""
import argparse
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
    errors = open(os.path.join(profile, "serve.err"), "w+")
    host = subprocess.Popen([gaugehost, "serve", flight, "--root", root, "--port", "0"],
                            stdout=subprocess.PIPE, stderr=errors, text=True)
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
    except Exception:
        errors.seek(0)
        sys.stderr.write(f"gaugehost serve said: {errors.read()}\n")
        raise
    finally:
        driver.quit()
        host.terminate()
        host.wait()
        shutil.rmtree(profile, ignore_errors=True)
    frames = end["frame"] - start["frame"]
    pictures = end["picture"] - start["picture"]
    return cpu / wall * 100, frames / wall, pictures / wall, wall


def section(gaugehost, seconds, results):
    rows = []
    for flight, (percent, fps, pictures, wall) in results:
        met = "met" if percent < TARGET else "**not met**"
        rows.append(f"| `{flight}` | {percent:.2f} | {fps:.1f} | {pictures:.1f} | {met} |")
    return "\n".join([
        HEADING,
        "",
        f"Command: `python3 bench/live_panel_cpu.py {gaugehost} ROOT {seconds:g} FLIGHT...`",
        "(run by `make bench` when the browser group is installed): `gaugehost serve` of each",
        "flight, optimised as above, with one page open in headless Chromium; the host",
        "process's CPU time (all its threads: the flight, the pictures and the HTTP server)",
        f"over {seconds:g} s of wall time. A panel picture is drawn, encoded and sent only when",
        "something visible changed: never on the idle panel, on about one frame in four in",
        "the approach, on about every other frame in the fast descent. Target: under "
        f"{TARGET:.0f}% of one core.",
        "",
        "| flight | % of one core | frames per second | pictures per second | under target |",
        "|---|---:|---:|---:|---|",
        *rows,
        "",
        f"Load average {os.getloadavg()[0]:.1f} at the end"
        + (" (other work was running)." if os.getloadavg()[0] >= 1.5 else "."),
        "",
    ])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("gaugehost")
    parser.add_argument("root")
    parser.add_argument("seconds", type=float)
    parser.add_argument("--out")
    parser.add_argument("flights", nargs="+")
    args = parser.parse_args()
    results = [(f, measure(args.gaugehost, args.root, f, args.seconds)) for f in args.flights]
    text = section(args.gaugehost, args.seconds, results)
    if not args.out:
        print(text)
        return
    page = open(args.out, encoding="utf-8").read() if os.path.exists(args.out) else ""
    kept = re.split(r"^" + re.escape(HEADING) + r"$", page, flags=re.M)[0].rstrip("\n")
    with open(args.out, "w", encoding="utf-8") as f:
        f.write((kept + "\n\n" if kept else "") + text)
    print(f"wrote {args.out}:\n{text}")


main()
