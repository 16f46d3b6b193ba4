#!/usr/bin/env python3
"""The live panel against what a folder, a flight file or a client may hold.

One `gaugehost serve` on loopback with a scenarios folder of awkward files
(names and lines that are not UTF-8, control characters, quotes, a gauge
that is not there, a mistake found only in flight), and requests no page
sends (chunked and compressed bodies under and over the limit, long header
blocks, paths a character away from a route). Every answer must be a 2xx or
a 4xx with its reason in valid UTF-8, never a 5xx; after each, the state
answers and the flight flies on; a flight saved after each awkward flight
replays with `gaugehost fly` to the session's log.

    live_panel_hostile_test.py GAUGEHOST SIM_ROOT SCENARIO_DIR OUT_DIR
"""
import gzip
import os
import shutil
import sys
import time
import zlib

from live_server_client import Server, check, chunked, finish, fly, quote

GAUGEHOST, SIM_ROOT, SCENARIOS, OUT = sys.argv[1:5]
FOLDER = os.path.join(OUT, "folder")
shutil.rmtree(OUT, ignore_errors=True)
os.makedirs(FOLDER)
shutil.copy(os.path.join(SCENARIOS, "panel.cfg"), FOLDER)

FLIES = b"panel panel.cfg\nstart\nset power 1\nat 0.5\nset altitude_m 100\nat 1\nstop\n"
# file name (bytes), its lines, what the page lists, then: None (flies to
# its end) or (status, reason) when choosing it is refused, or a note the
# session ends with.
FLIGHTS = [
    (b"latin\xe9.flight", FLIES, "latin\\xE9.flight", None),
    (b"new\nline.flight", FLIES, "new\\x0Aline.flight", None),
    (b'quote".flight', FLIES, 'quote".flight', None),
    (b"tab\tbell\x07.flight", FLIES, "tab\\x09bell\\x07.flight", None),
    ("caf\u00e9 \u2708.flight".encode(), FLIES, "caf\u00e9 \u2708.flight", None),
    (b"bad_utf8.flight", b"panel panel.cfg\nstart\nset altitude_m \xc3\x28\n", "bad_utf8.flight",
     (400, "cannot fly bad_utf8.flight: ", "'\\xC3(' is not a number")),
    (b"bad_byte.flight", b"panel panel.cfg\nstart\nset power \x80\n", "bad_byte.flight",
     (400, "cannot fly bad_byte.flight: ", "\\x80")),
    (b"nul.flight", b"panel panel.cfg\nstart\nset power 1\x00\n", "nul.flight",
     (400, "cannot fly nul.flight: ", "nul.flight:3: ")),
    (b"no_gauge.flight", b"gauge vrn_gpws nosuch\nstart\n", "no_gauge.flight",
     ("note", "cannot fly no_gauge.flight: ", "no gauge \"nosuch\"")),
    (b"in_flight.flight", b"gauge vrn_radalt radalt\nstart\nat 0.5\nsend nosuch 1\nat 1\n",
     "in_flight.flight", ("note", "the flight in_flight.flight ended: ", "nosuch")),
]
for name, lines, _, _ in FLIGHTS:
    with open(os.path.join(os.fsencode(FOLDER), name), "wb") as f:
        f.write(lines)

server = Server(GAUGEHOST, SIM_ROOT, os.path.join(FOLDER, "panel.cfg"), FOLDER,
                os.path.join(OUT, "server"))
fives = []


def answered(what, a, status, reason):
    """An answer of the expected status with its reason, in valid UTF-8."""
    if a is None:
        return check(False, f"{what}: answered")
    if a.status >= 500:
        fives.append(what)
    if a.headers.get("content-type", "").startswith("image/"):
        return check(a.status == status, f"{what}: {a.status} (want {status})")
    try:
        text = a.body.decode("utf-8")
    except UnicodeDecodeError:
        return check(False, f"{what}: the answer is UTF-8 ({a.body[:80]!r})")
    ok = a.status == status and (reason in text if 400 <= status else True)
    return check(ok, f"{what}: {a.status} {text.strip()[:100]!r} (want {status} {reason!r})")


listed = server.get("/api/scenarios").json()
for name, _, shown, _ in FLIGHTS:
    check(shown in listed, f"listed as {shown!r}")

for number, (name, lines, shown, outcome) in enumerate(FLIGHTS):
    what = f"flight {shown!r}"
    if outcome is None:
        chosen, end = server.fly_scenario(shown)
        answered(what + " chosen", chosen, 200, "")
        check(end is not None and end["ended"] and end["title"] == shown,
              f"{what}: flies to its end, titled as listed ({end and end['title']!r})")
        saved = server.get("/api/flight")
        answered(what + " saved", saved, 200, "")
        disposition = saved.headers.get("content-disposition", "")
        plain = disposition.split('filename="')[1].split('"')[0] if 'filename="' in disposition else ""
        check(all(c.isalnum() or c in "._-" for c in plain) and "filename*=UTF-8''" in disposition,
              f"{what}: a safe file name ({disposition})")
        first_line = saved.body.split(b"\n")[0]
        check(first_line == b"# flown live from " + shown.encode(),
              f"{what}: the title is one comment line ({first_line!r})")
        flight = os.path.join(OUT, f"saved_{number}.flight")
        with open(flight, "wb") as f:
            f.write(saved.body)
        with open(server.log, "rb") as f:
            live = f.read()
        code, replayed, said = fly(GAUGEHOST, SIM_ROOT, flight, flight + ".log")
        check(code == 0 and replayed == live and live,
              f"{what}: the saved flight replays to the session's log ({said.strip()[:120]})")
    elif outcome[0] == "note":
        chosen = server.post("/api/scenario", "name=" + quote(shown))
        answered(what + " chosen", chosen, 200, "")
        end = time.monotonic() + 20
        notes = []
        while time.monotonic() < end and not any(outcome[1] in n for n in notes):
            time.sleep(0.2)
            notes = server.notes()
        said = [n for n in notes if outcome[1] in n]
        check(said and outcome[2] in said[-1], f"{what}: ends saying why ({said})")
        check(server.state()["title"] == "panel.cfg", f"{what}: the panel comes back")
        check(outcome[1] in server.stderr(), f"{what}: said on stderr too")
    else:
        status, start, detail = outcome
        a = server.post("/api/scenario", "name=" + quote(shown))
        answered(what + " refused", a, status, start)
        check(a is not None and detail in a.text(), f"{what}: the reason quotes it ({a and a.text()!r})")
    check(server.flies_on(), f"{what}: the state answers and the flight flies on")

FORM = [b"Content-Type: application/x-www-form-urlencoded"]
CHUNKED = ["Transfer-Encoding: chunked", *[h.decode() for h in FORM]]
GOOD = b"name=altitude_m&value=200"
BIG = b"name=altitude_m&value=" + b"1" * 5074  # 5,096 bytes: over the 4,096 limit
inflated = b"name=altitude_m&value=" + b"1" * 3_500_000
filler = lambda lines, width: [f"X-Filler-{i}: " + "a" * width for i in range(lines)]
# what, method, path, body, headers, status, reason, at most this many seconds
REQUESTS = [
    ("chunked, under the limit", "POST", "/api/set", chunked(GOOD), CHUNKED, 200, "queued", 5),
    ("chunked, 5,096 bytes", "POST", "/api/set", chunked(BIG), CHUNKED, 413, "at most 4096", 5),
    ("chunked, 2 MB", "POST", "/api/set", chunked(b"x" * 2_000_000, 65536), CHUNKED, 413,
     "at most 4096", 3),
    ("gzip, 3.6 KB to 3.5 MB", "POST", "/api/set", gzip.compress(inflated),
     ["Content-Encoding: gzip", *CHUNKED[1:]], 415, "compressed request bodies", 3),
    ("gzip, small", "POST", "/api/set", gzip.compress(GOOD),
     ["Content-Encoding: gzip", *CHUNKED[1:]], 415, "compressed request bodies", 3),
    ("deflate, chunked", "POST", "/api/set", chunked(zlib.compress(GOOD)),
     ["Content-Encoding: deflate", *CHUNKED], 415, "compressed request bodies", 3),
    ("plain, over the limit", "POST", "/api/set", BIG, CHUNKED[1:], 413, "at most 4096", 3),
    ("a Transfer-Encoding not known", "POST", "/api/set", GOOD,
     ["Transfer-Encoding: gzip, chunked", *CHUNKED[1:]], 400, "Transfer-Encoding", 3),
    ("a GET with a chunked body", "GET", "/api/state", chunked(b"x" * 100_000),
     ["Transfer-Encoding: chunked"], 400, "takes no body", 3),
    ("1 MB of headers in 10,000 lines", "GET", "/api/panel", b"", filler(10_000, 95), 431,
     "header block too large", 5),
    ("9 KB of headers", "GET", "/api/panel", b"", filler(90, 95), 431, "header block too large", 3),
    ("120 short header lines", "GET", "/api/panel", b"", filler(120, 2), 431,
     "header block too large", 3),
    ("a URL of 3,000 bytes", "GET", "/api/state?x=" + "a" * 3000, b"", [], 414, "URL too long", 3),
    ("a path not UTF-8", "GET", "/caf\xe9", b"", [], 404, "no such page or call: /caf\\xE9", 3),
    ("a variable not UTF-8", "POST", "/api/set", b"name=%FF%00&value=1", [], 404,
     "unknown variable '\\xFF\\x00'", 3),
    ("a gauge not UTF-8", "POST", "/api/release", b"gauge=%C3%28", [], 404, "no gauge '\\xC3('", 3),
    ("a flight not UTF-8", "POST", "/api/scenario", b"name=%E9.flight", [], 404,
     "no flight '\\xE9.flight'", 3),
]
for wrong in ["/liveXjs", "/live_css", "/api/panelXpng", "/api/stat", "/api/statee", "/Live.js",
              "/live.js/", "/index.html", "/api/panel.pn", "/api/sound/"]:
    REQUESTS.append((f"GET {wrong}", "GET", wrong, b"", [], 404, "no such page or call", 3))
REQUESTS.append(("POST /api/sett", "POST", "/api/sett", GOOD, [], 404, "no such page or call", 3))
REQUESTS.append(("POST /api/set/", "POST", "/api/set/", GOOD, [], 404, "no such page or call", 3))

for what, method, path, body, headers, status, reason, seconds in REQUESTS:
    started = time.monotonic()
    a = server.request(method, path.encode("latin-1").decode("latin-1"), body, headers)
    took = time.monotonic() - started
    answered(what, a, status, reason)
    check(took < seconds, f"{what}: answered in {took:.2f} s")
    check(server.flies_on(), f"{what}: the state answers and the flight flies on")

for right in ["/", "/live.js", "/live.css", "/api/panel.png", "/api/panel", "/api/variables"]:
    answered(f"GET {right}", server.get(right), 200, "")
state = server.get("/api/state?after=0")
answered("every event of the session, notes with bad bytes too", state, 200, "")
code = server.stop()
check(code == 0, f"the server stops on its own terms (exit {code})")
check(not fives, f"no 5xx answer ({fives})")
finish()
