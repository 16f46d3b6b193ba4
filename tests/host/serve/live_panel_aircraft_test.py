#!/usr/bin/env python3
"""The aircraft flown from the live page in a real browser.

Starts `gaugehost serve` on the sample panel and opens the page in headless
Chromium: the key legend is there; the first flying key starts an aircraft;
the arrow and page keys change the commanded and then the actual vertical
speed and the altitude falls; keys typed into a field do not fly; G puts the
gear down and it moves; F sets the flaps. A gamepad (navigator.getGamepads
stubbed by the test) is named on the page, its stick climbs and levels off
and its A button raises the gear; S follows the glide path and P switches
the power off and on. Then the flight is paused and saved, the
host stopped, and `gaugehost fly` of the saved flight must give the
session's event log byte for byte, its aircraft commands written as given.
Last, on a host of its own, the page's button starts an aircraft.

    live_panel_aircraft_test.py GAUGEHOST SIM_ROOT SCENARIO_DIR OUT_DIR

Exits 77 (skipped) when the browser group is not installed, unless CI=true.
"""
import os
import shutil
import sys
import time

from live_server_client import Server, browser_or_skip, check, finish, fly, wait_for

browser_or_skip("aircraft keys", "the page's flying is not checked in a browser")
from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

CHROMEDRIVER = shutil.which("chromedriver")

GAUGEHOST, SIM_ROOT, SCENARIOS, OUT = sys.argv[1:5]

# The gamepad the page finds: the standard mapping, sticks centred.
STUB_PAD = """
window.stubPad = {id: 'Stub pad (standard)', index: 0, connected: true, mapping: 'standard',
                  axes: [0, 0, 0, 0],
                  buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
Object.defineProperty(navigator, 'getGamepads',
                      {value: () => [window.stubPad, null, null, null], configurable: true});
"""




def browser():
    options = webdriver.ChromeOptions()
    for arg in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--window-size=1400,1000", "--user-data-dir=" + os.path.join(OUT, "profile")]:
        options.add_argument(arg)
    options.add_experimental_option("prefs", {"download.default_directory": OUT,
                                              "download.prompt_for_download": False})
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


class Page:
    def __init__(self, driver, server):
        self.driver, self.server = driver, server

    def aircraft(self):
        return self.server.state()["aircraft"]

    def keys(self, *keys):
        body = self.driver.find_element(By.TAG_NAME, "body")
        for key in keys:
            ActionChains(self.driver).send_keys_to_element(body, key).perform()
            time.sleep(0.05)

    def commanded(self, fpm):
        return wait_for(f"commanded {fpm} ft/min", lambda: (a := self.aircraft()) is not None
                        and a["commanded_vertical_speed_fpm"] == fpm and a)

    def message(self):
        return self.driver.find_element(By.ID, "message").text


def legend(page):
    keys = page.driver.find_elements(By.CSS_SELECTOR, '#flying dl[data-keys="Keys"] dt')
    shown = [k.text for k in keys]
    check(all(k in shown for k in ["↑ / ↓", "G", "F / Shift+F", "P", "L", "S"]),
          f"the page shows the flying keys: {shown}")
    pads = page.driver.find_elements(By.CSS_SELECTOR, '#flying dl[data-keys="Gamepad"] dt')
    check("left stick" in [p.text for p in pads], "and the gamepad's")
    button = page.driver.find_element(By.ID, "fly-aircraft")
    check(button.is_displayed() and page.aircraft() is None,
          "no aircraft flies at first, and the page offers to fly one")


def keys_fly(page):
    page.keys(Keys.ARROW_DOWN)
    a = page.commanded(-100)
    check(a["distance_nm"] <= 5 and a["commanded_speed_kt"] == 140,
          f"the first key started the aircraft and commanded -100 ft/min ({a})")
    page.keys(Keys.PAGE_DOWN, Keys.PAGE_DOWN, Keys.ARROW_DOWN)
    page.commanded(-1200)
    check(True, "PgDn twice and ↓ once more: -1200 ft/min commanded")
    high = wait_for("the aircraft to sink at the command",
                    lambda: (a := page.aircraft())["vertical_speed_fpm"] <= -1200 and a)
    high = high["altitude_ft"]
    low = wait_for("the altitude to fall", lambda: (a := page.aircraft()["altitude_ft"]) < high - 15
                   and a, seconds=5)
    check(low < high - 15, f"the vertical speed reached the command and the altitude falls "
          f"({high:.0f} -> {low:.0f} ft)")
    check(not page.driver.find_element(By.ID, "fly-aircraft").is_displayed(),
          "the button is gone while an aircraft flies")
    shown = wait_for("the readout", lambda: page.driver.execute_script(
        "const e = document.querySelector('#aircraft [data-aircraft=\"vertical_speed_fpm\"]');"
        "return e && e.textContent"))
    check("(-1200)" in shown, f"the page shows the vertical speed and the command: {shown}")

    field = page.driver.find_element(By.CSS_SELECTOR, '[data-number="phase"]')
    field.click()
    field.send_keys(Keys.ARROW_UP, Keys.ARROW_UP, "g")
    time.sleep(1.0)
    a = page.aircraft()
    check(a["commanded_vertical_speed_fpm"] == -1200 and not a["gear_lever_down"],
          "keys typed into a field do not fly the aircraft")
    page.driver.execute_script("document.activeElement.blur()")

    page.keys(Keys.ARROW_RIGHT, Keys.ARROW_RIGHT)
    wait_for("150 kt commanded", lambda: page.aircraft()["commanded_speed_kt"] == 150)
    check(True, "→ twice: 150 kt commanded")
    page.keys("g")
    wait_for("the gear lever down", lambda: page.aircraft()["gear_lever_down"])
    moving = wait_for("the gear to move", lambda: 0 < (g := page.aircraft()["gear"]) < 16383 and g)
    check(moving > 0, f"G put the gear lever down and the gear moves (gear {moving:.0f})")
    page.keys("f")
    wait_for("approach flaps", lambda: page.aircraft()["flap_lever"] == 10000)
    check(True, "F set the flaps to the approach detent")
    check(page.message() == "", f"nothing was refused: '{page.message()}'")


def gamepad_flies(page):
    page.driver.execute_script(STUB_PAD)
    name = wait_for("the gamepad's name", lambda: page.driver.find_element(By.ID, "gamepad").text)
    check(name == "gamepad: Stub pad (standard)", f"the page names the gamepad: '{name}'")
    before = page.aircraft()["vertical_speed_fpm"]
    page.driver.execute_script("window.stubPad.axes[1] = -0.5")
    page.commanded(1500)
    climbing = wait_for("the climb", lambda: (a := page.aircraft())["vertical_speed_fpm"] > 0 and a)
    check(climbing["vertical_speed_fpm"] > before,
          f"the stick half back commands 1500 ft/min and the aircraft climbs "
          f"({before:.0f} -> {climbing['vertical_speed_fpm']:.0f} ft/min)")
    page.driver.execute_script("window.stubPad.axes[1] = 0.05")  # within the dead zone
    page.commanded(0)
    check(True, "the stick let go levels off")
    page.driver.execute_script("window.stubPad.buttons[0] = {pressed: true, value: 1}")
    wait_for("the gear lever up", lambda: not page.aircraft()["gear_lever_down"])
    page.driver.execute_script("window.stubPad.buttons[0] = {pressed: false, value: 0}")
    check(True, "the A button raised the gear")
    page.keys("s")
    wait_for("the glide path followed", lambda: page.aircraft()["following_dots"] == 0)
    check(True, "S follows the glide path")
    page.keys("p")
    wait_for("the power off", lambda: not page.aircraft()["power"])
    page.keys("p")
    wait_for("the power on", lambda: page.aircraft()["power"])
    check(True, "P switches the power off and on again")


def save(page):
    page.driver.find_element(By.ID, "pause").click()
    wait_for("the pause", lambda: page.driver.find_element(By.ID, "status").text == "paused")
    time.sleep(0.3)
    page.driver.find_element(By.ID, "save").click()
    saved = os.path.join(OUT, "live_panel.flight")
    wait_for("the saved flight", lambda: os.path.exists(saved) and os.path.getsize(saved) > 0)
    return saved


def button_starts(driver):
    """A host of its own: the button starts the page's aircraft, and the
    keys fly it at once (the button gives the focus back)."""
    server = Server(GAUGEHOST, SIM_ROOT, os.path.join(SCENARIOS, "panel.cfg"), SCENARIOS,
                    os.path.join(OUT, "button"))
    try:
        driver.get(server.origin + "/")
        page = Page(driver, server)
        wait_for("the button", lambda: driver.find_element(By.ID, "fly-aircraft").is_displayed())
        driver.find_element(By.ID, "fly-aircraft").click()
        a = wait_for("the aircraft", page.aircraft)
        check(a["distance_nm"] <= 5 and a["commanded_vertical_speed_fpm"] == 0,
              f"Fly an aircraft starts one 5 nm out, level ({a['distance_nm']:.2f} nm)")
        page.keys(Keys.PAGE_UP)
        page.commanded(500)
        check(True, "and PgUp commands a climb of 500 ft/min")
        saved = server.get("/api/flight").text()
        check("\naircraft 5 nm 1500 ft 140 kt 0 fpm\n" in saved and "\nglidepath 3 deg\n" in saved,
              "the button's lines are saved")
    finally:
        server.stop()


def main():
    shutil.rmtree(OUT, ignore_errors=True)
    os.makedirs(OUT)
    server = Server(GAUGEHOST, SIM_ROOT, os.path.join(SCENARIOS, "panel.cfg"), SCENARIOS, OUT)
    driver = browser()
    try:
        driver.get(server.origin + "/")
        frame = lambda: int(driver.find_element(By.ID, "frame").text or 0)
        wait_for("the page to follow the flight", lambda: frame() > 3)
        page = Page(driver, server)
        legend(page)
        keys_fly(page)
        gamepad_flies(page)
        saved = save(page)
        button_starts(driver)
    finally:
        driver.quit()
        code = server.stop()
    check(code == 0, f"the server stops on its own terms (exit {code})")
    text = open(saved).read()
    for line in ["aircraft 5 nm 1500 ft 140 kt 0 fpm", "glidepath 3 deg", "descend 100 fpm",
                 "descend 1200 fpm", "speed 150 kt", "gear down", "flaps approach",
                 "climb 1500 fpm", "level", "gear up", "follow glidepath", "power off",
                 "power on"]:
        check(f"\n{line}\n" in text, f"the saved flight has '{line}' as given")
    with open(server.log, "rb") as f:
        live = f.read()
    code, replayed, said = fly(GAUGEHOST, SIM_ROOT, saved, os.path.join(OUT, "replay.log"))
    check(code == 0, f"gaugehost fly of the saved flight meets its expectations ({said.strip()})")
    check(replayed == live and live,
          f"the replay's event log is the session's ({len(replayed)} and {len(live)} bytes)")
    finish()


main()
