#!/usr/bin/env python3
"""Every flight of scenarios/ chosen on the live panel and flown to its end.

For each file of the folder, a `gaugehost serve` of its own (at eight times
the flight's speed): the flight is chosen as the page chooses it, must fly
to its end, and its session log must equal `gaugehost fly`'s log of the same
file; the flight saved at the end must replay with `gaugehost fly` to that
log too; and the server must still answer and show the panel.

    live_panel_scenarios_test.py GAUGEHOST SIM_ROOT SCENARIO_DIR OUT_DIR
"""
import os
import sys

from live_server_client import Server, check, finish, fly

GAUGEHOST, SIM_ROOT, SCENARIOS, OUT = sys.argv[1:5]
flights = sorted(f for f in os.listdir(SCENARIOS) if f.endswith(".flight"))
check(len(flights) >= 6, f"the folder holds the shipped flights ({len(flights)})")

for name in flights:
    out = os.path.join(OUT, name)
    server = Server(GAUGEHOST, SIM_ROOT, os.path.join(SCENARIOS, "panel.cfg"), SCENARIOS, out)
    try:
        listed = server.get("/api/scenarios").json()
        check(name in listed, f"{name}: in the page's list")
        chosen, end = server.fly_scenario(name)
        check(chosen is not None and chosen.status == 200, f"{name}: chosen ({chosen and chosen.status})")
        check(end is not None and end["title"] == name and end["ended"],
              f"{name}: flies to its end ({end and end['time_s']} s)")
        check(server.notes() == [], f"{name}: no note of trouble {server.notes()}")
        saved = server.get("/api/flight")
        check(saved.status == 200, f"{name}: the flight saved")
        with open(os.path.join(out, "saved.flight"), "wb") as f:
            f.write(saved.body)
        check(server.flies_on(), f"{name}: the server still answers")
    finally:
        code = server.stop()
    check(code == 0, f"{name}: the server stops on its own terms (exit {code}): {server.stderr()}")
    with open(server.log, "rb") as f:
        live = f.read()
    code, flown, said = fly(GAUGEHOST, SIM_ROOT, os.path.join(SCENARIOS, name),
                            os.path.join(out, "fly.log"))
    check(live == flown and live, f"{name}: the session's log is fly's ({len(live)}, {len(flown)} bytes)")
    code, replayed, said = fly(GAUGEHOST, SIM_ROOT, os.path.join(out, "saved.flight"),
                               os.path.join(out, "replay.log"))
    check(code == 0 and replayed == live, f"{name}: the saved flight replays to it ({said.strip()})")

finish()
