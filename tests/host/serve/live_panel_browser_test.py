#!/usr/bin/env python3
"""The live panel in a real browser.

Starts `gaugehost serve` on the sample panel, opens the page in headless
Chromium through chromedriver, and flies by hand as a person would: switches
the power on and sets up an approach with the page's controls, holds the
radar altimeter's DH knob up and clicks SET, moves the height down through
the decision height, sees the DH lamp come on and a voice played, pauses
and saves the flight. Then stops the host with Ctrl-C and checks that
`gaugehost fly` of the saved flight gives the session's event log byte for
byte and meets the expectations saved with it.

    live_panel_browser_test.py GAUGEHOST SIM_ROOT SCENARIO_DIR OUT_DIR [SCREENSHOT]

Exits 77 (skipped) when the browser group is not installed, unless CI=true.
"""
import json
import os
import shutil
import signal
import subprocess
import sys
import time
import urllib.request

from live_server_client import browser_or_skip
from live_server_client import wait_for as client_wait_for

browser_or_skip("live panel", "the live panel is not checked in a browser")
from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402

CHROMEDRIVER = shutil.which("chromedriver")

GAUGEHOST, SIM_ROOT, SCENARIOS, OUT = sys.argv[1:5]
SCREENSHOT = sys.argv[5] if len(sys.argv) > 5 else None
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)
    return ok


def wait_for(what, test, seconds=15.0):
    return client_wait_for(what, test, seconds)


def start_host():
    shutil.rmtree(OUT, ignore_errors=True)
    os.makedirs(OUT)
    err = open(os.path.join(OUT, "serve.err"), "w")
    host = subprocess.Popen(
        [GAUGEHOST, "serve", os.path.join(SCENARIOS, "panel.cfg"), "--root", SIM_ROOT,
         "--port", "0", "--log", os.path.join(OUT, "session.log")],
        stdout=subprocess.PIPE, stderr=err, text=True)
    line = host.stdout.readline()
    url = line[line.index("http://"):].split()[0]
    return host, url


def browser():
    options = webdriver.ChromeOptions()
    for arg in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--autoplay-policy=no-user-gesture-required", "--window-size=1400,1000",
                "--user-data-dir=" + os.path.join(OUT, "profile")]:
        options.add_argument(arg)
    options.add_experimental_option("prefs", {"download.default_directory": OUT,
                                              "download.prompt_for_download": False})
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def main():
    host, url = start_host()
    driver = browser()
    try:
        fly(driver, url)
    finally:
        host.send_signal(signal.SIGINT)
        status = host.wait(timeout=30)
        try:
            with_token(driver)
        finally:
            driver.quit()
    check(status == 0, f"Ctrl-C stops the host cleanly (status {status})")
    replay()
    if failures:
        print(f"live panel: {len(failures)} check(s) failed")
        sys.exit(1)


def state(url):
    with urllib.request.urlopen(url + "api/state") as answer:
        return json.load(answer)


def fly(driver, url):
    driver.get(url)
    frame = lambda: int(driver.find_element(By.ID, "frame").text or 0)
    wait_for("the page to follow the flight", lambda: frame() > 3)

    def switch(name, on):
        box = driver.find_element(By.CSS_SELECTOR, f'input[data-var="{name}"]')
        if box.is_selected() != on:
            box.click()

    def number(name, value, event="change"):
        field = driver.find_element(By.CSS_SELECTOR, f'[data-number="{name}"]')
        driver.execute_script(
            "arguments[0].value = arguments[1];"
            "arguments[0].dispatchEvent(new Event(arguments[2]))", field, str(value), event)

    switch("power", True)
    switch("display_variant", True)
    for name, value in [("phase", 1), ("gear", 16383), ("flaps", 16383),
                        ("vertical_speed_fpm", -900), ("altitude_m", 300),
                        ("terrain_height_m", 300)]:
        number(name, value)
    wait_for("the variables to reach the host",
             lambda: state(url)["vars"]["altitude_m"] == 300 and state(url)["vars"]["power"] == 1)

    layout = json.load(urllib.request.urlopen(url + "api/panel"))
    radalt = next(g for g in layout["gauges"] if g["label"] == "radalt")
    canvas = driver.find_element(By.ID, "panel")

    def at(area):
        # Selenium offsets are from the element's centre, in CSS pixels.
        return (area["x"] + area["width"] // 2 - canvas.size["width"] // 2,
                area["y"] + area["height"] // 2 - canvas.size["height"] // 2)

    raise_dh, set_dh = radalt["areas"][1], radalt["areas"][2]
    ActionChains(driver).move_to_element_with_offset(canvas, *at(raise_dh)).perform()
    check(canvas.value_of_css_property("cursor") == "n-resize",
          "the pointer takes the DH knob's cursor (up arrow)")
    dh_before = state(url)["decision_height_ft"]
    ActionChains(driver).click_and_hold().pause(0.8).release().perform()
    ActionChains(driver).move_to_element_with_offset(canvas, *at(set_dh)).click().perform()
    wait_for("the DH knob to turn", lambda: state(url)["decision_height_ft"] > dh_before + 20)
    dh = state(url)["decision_height_ft"]
    check(dh > dh_before + 20, f"holding the DH knob raised the decision height ({dh_before} -> {dh} ft)")

    lamps = lambda: [e.text for e in driver.find_elements(By.CSS_SELECTOR, '#events li[data-kind="lamp"]')]
    check(not any("dh_lamp of radalt shown" in t for t in lamps()), "the DH lamp is off above the DH")
    slider = driver.find_element(By.CSS_SELECTOR, 'input[data-var="altitude_m"]')
    for metres in [200, 120, 80, 50, 30, 15, 10]:
        driver.execute_script("arguments[0].value = arguments[1];"
                              "arguments[0].dispatchEvent(new Event('input'))", slider, str(metres))
        time.sleep(0.3)
    wait_for("the DH lamp", lambda: any("dh_lamp of radalt shown" in t for t in lamps()))
    check(True, "the DH lamp came on below the decision height")
    played = wait_for("a voice to play",
                      lambda: int(driver.find_element(By.ID, "played").get_attribute("data-count")))
    check(played > 0, f"the browser played {played} voice(s): "
          + driver.find_element(By.ID, "last-voice").text)

    driver.find_element(By.ID, "pause").click()
    wait_for("the pause", lambda: driver.find_element(By.ID, "status").text == "paused")
    if SCREENSHOT:
        time.sleep(0.5)
        driver.save_screenshot(SCREENSHOT)
    driver.find_element(By.ID, "save").click()
    saved = os.path.join(OUT, "live_panel.flight")
    wait_for("the saved flight", lambda: os.path.exists(saved))
    check(True, "the page saved the flight")


def with_token(driver):
    """A host asking for a token: the page opened at the address printed
    works, and again without the token in its address (the cookie)."""
    token = "browser-test-token"
    host = subprocess.Popen(
        [GAUGEHOST, "serve", os.path.join(SCENARIOS, "panel.cfg"), "--root", SIM_ROOT,
         "--port", "0", "--token", token],
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        line = host.stdout.readline()
        url = line[line.index("http://"):].split()[0]
        check(url.endswith(f"/?token={token}"), f"the address printed carries the token ({url})")
        base = url[:url.index("?")]
        frame = lambda: int(driver.find_element(By.ID, "frame").text or 0)
        asked = lambda: urllib.request.Request(base + "api/state",
                                               headers={"Cookie": f"gaugehost_token={token}"})
        for opened in [url, base]:
            driver.get(opened)
            wait_for(f"the page at {opened} to follow the flight", lambda: frame() > 3)
            power = lambda: json.load(urllib.request.urlopen(asked()))["vars"]["power"]
            wanted = 1 - power()
            driver.find_element(By.CSS_SELECTOR, 'input[data-var="power"]').click()
            wait_for("the switch to reach the host", lambda: power() == wanted)
            check(True, f"with a token, the page at {opened} flies")
    finally:
        host.send_signal(signal.SIGINT)
        host.wait(timeout=30)


def replay():
    saved = os.path.join(OUT, "live_panel.flight")
    replayed = os.path.join(OUT, "replay.log")
    fly = subprocess.run([GAUGEHOST, "fly", saved, "--root", SIM_ROOT, "--log", replayed],
                         capture_output=True, text=True)
    check(fly.returncode == 0, "gaugehost fly of the saved flight meets its expectations: "
          + fly.stderr.strip().splitlines()[-1] if fly.stderr.strip() else "")
    session = open(os.path.join(OUT, "session.log"), "rb").read()
    again = open(replayed, "rb").read()
    check(session == again and len(session) > 0,
          f"the replay's event log is the session's ({len(again)} and {len(session)} bytes)")


main()
