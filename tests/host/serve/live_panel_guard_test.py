#!/usr/bin/env python3
"""The live panel lets in no one else: against `gaugehost serve` on loopback.

Forged Host names (DNS rebinding) are refused; changes to the flight only
from the page's own origin (Origin, or Sec-Fetch-Site where a browser sends
only that); with a token (here on 127.0.0.2, an address of this machine
that is not the default), every request without it is refused and the
first visit with it leaves a cookie; oversized headers and URLs; a client
sending its headers slowly is dropped while another is served; long polls
waiting at once are bounded. Each refusal is a 403/4xx with its reason, and
the flight flies on; what was refused never reached it.

    live_panel_guard_test.py GAUGEHOST SIM_ROOT SCENARIO_DIR OUT_DIR
"""
import os
import shutil
import socket
import sys
import threading
import time

from live_server_client import Server, check, finish

GAUGEHOST, SIM_ROOT, SCENARIOS, OUT = sys.argv[1:5]
PANEL = os.path.join(SCENARIOS, "panel.cfg")
shutil.rmtree(OUT, ignore_errors=True)


def refused(what, a, status, reason):
    text = a.text() if a else ""
    return check(a is not None and a.status == status and reason in text,
                 f"{what}: {a and a.status} {text.strip()[:90]!r} (want {status} {reason!r})")


server = Server(GAUGEHOST, SIM_ROOT, PANEL, SCENARIOS, os.path.join(OUT, "loopback"))
P = server.port
check(server.rest == "", f"on loopback no token is asked ({server.printed.strip()})")

# Host, path, status, reason
HOSTS = [
    (f"127.0.0.1:{P}", 200, ""),
    (f"localhost:{P}", 200, ""),
    (f"LocalHost:{P}", 200, ""),
    (f"[::1]:{P}", 200, ""),
    (f"evil.example:{P}", 403, "not to Host 'evil.example:"),
    ("evil.example", 403, "answers to http://127.0.0.1:"),
    ("127.0.0.1", 403, "not to Host '127.0.0.1'"),
    (f"127.0.0.1:{P + 1}", 403, "not to Host"),
    (f"127.0.0.1.evil.example:{P}", 403, "not to Host"),
    (f"localhost.:{P}", 403, "not to Host"),
    (f"10.0.0.1:{P}", 403, "not to Host"),
    (f"127.0.0.1:{P}@evil.example", 403, "not to Host"),
    ("", 403, "not to Host ''"),
]
for host, status, reason in HOSTS:
    for path in ["/api/flight", "/", "/api/state"]:
        a = server.get(path, host=host)
        refused(f"Host {host!r} {path}", a, status, reason)
        if status == 403:
            check(b"set " not in a.body, f"Host {host!r} {path}: no recording in the answer")
    check(server.flies_on(), f"Host {host!r}: the flight flies on")
a = server.send(b"GET /api/flight HTTP/1.1\r\nConnection: close\r\n\r\n")
refused("no Host at all", a, 403, "not to Host")

ORIGIN = f"http://127.0.0.1:{P}"
FORM = "Content-Type: application/x-www-form-urlencoded"
# headers besides the form's, the Host, status, reason
POSTS = [
    ([f"Origin: {ORIGIN}"], None, 200, "queued"),
    ([f"Origin: {ORIGIN}", "Sec-Fetch-Site: same-origin"], None, 200, "queued"),
    (["Sec-Fetch-Site: same-origin"], None, 200, "queued"),
    ([f"Origin: http://localhost:{P}"], f"localhost:{P}", 200, "queued"),
    (["Origin: http://evil.example"], None, 403, "from the live panel's own page"),
    (["Origin: http://evil.example", "Sec-Fetch-Site: cross-site"], None, 403, "own page"),
    (["Origin: null"], None, 403, "own page"),
    ([f"Origin: https://127.0.0.1:{P}"], None, 403, "own page"),
    ([f"Origin: http://localhost:{P}"], None, 403, "own page"),
    ([f"Origin: {ORIGIN}", "Sec-Fetch-Site: cross-site"], None, 403, "own page"),
    ([f"Origin: http://127.0.0.1:{P}.evil.example"], None, 403, "own page"),
    (["Sec-Fetch-Site: cross-site"], None, 403, "own page"),
    (["Sec-Fetch-Site: same-site"], None, 403, "own page"),
    (["Sec-Fetch-Site: none"], None, 403, "own page"),
    ([], None, 403, "own page"),
]
for headers, host, status, reason in POSTS:
    value = "250" if status == 200 else "5"
    a = server.request("POST", "/api/set", f"name=altitude_m&value={value}".encode(),
                       [FORM, *headers], host=host, origin=False)
    refused(f"POST from {headers} to {host or 'the server'}", a, status, reason)
    check(server.flies_on(), f"POST from {headers}: the flight flies on")
for path in ["/api/pause", "/api/scenario", "/api/takeover"]:
    a = server.request("POST", path, b"name=approach.flight", [FORM, "Origin: http://evil.example"],
                       origin=False)
    refused(f"cross-site POST {path}", a, 403, "own page")
a = server.request("POST", "/api/fly", b"line=aircraft+5+nm+1500+ft+140+kt+0+fpm",
                   [FORM, "Origin: http://evil.example"], origin=False)
refused("cross-site POST /api/fly", a, 403, "own page")
time.sleep(0.5)
s = server.state()
check(s["aircraft"] is None, "no aircraft was started from elsewhere")
check(s["vars"]["altitude_m"] == 250 and not s["paused"] and s["title"] == "panel.cfg",
      f"nothing refused reached the flight ({s['vars']['altitude_m']}, {s['title']})")
check(b"altitude_m 5\n" not in server.get("/api/flight").body, "nor its recording")

LIMITS = [
    ("a URL of 3,000 bytes", "/api/state?x=" + "a" * 3000, [], 414, "URL too long"),
    ("a URL of 9,000 bytes", "/api/state?x=" + "a" * 9000, [], 414, "URL"),
    ("9 KB of headers", "/api/state", [f"X-{i}: " + "a" * 95 for i in range(90)], 431,
     "header block too large"),
    ("one header of 8,200 bytes", "/api/state", ["X-Long: " + "a" * 8200], 431, "header block"),
    ("100 KB of headers", "/api/state", [f"X-{i}: " + "a" * 95 for i in range(1000)], 431,
     "header block too large"),
]
for what, path, headers, status, reason in LIMITS:
    refused(what, server.get(path, headers=headers), status, reason)
    check(server.flies_on(), f"{what}: the flight flies on")
refused("a body of 5,000 bytes", server.post("/api/set", b"name=altitude_m&value=" + b"1" * 5000),
        413, "at most 4096")


def slow_client(sends, outcome):
    """Sends its header lines a byte every half second; when it was dropped."""
    started = time.monotonic()
    with socket.create_connection(("127.0.0.1", P), timeout=30) as s:
        try:
            for byte in sends:
                s.sendall(bytes([byte]))
                time.sleep(0.5)
            outcome["answer"] = s.recv(4096)
        except OSError as e:
            outcome["answer"] = repr(e).encode()
    outcome["after"] = time.monotonic() - started


trickle = f"GET /api/panel HTTP/1.1\r\nHost: 127.0.0.1:{P}\r\n".encode() + b"X-Slow: " + b"a" * 60
for what, sends in [("a client sending its headers slowly", trickle), ("a silent client", b"")]:
    outcome = {}
    slow = threading.Thread(target=slow_client, args=(sends, outcome))
    slow.start()
    time.sleep(1)
    started = time.monotonic()
    a = server.get("/api/panel")
    check(a and a.status == 200 and time.monotonic() - started < 1.5,
          f"{what}: another client is served meanwhile")
    slow.join(timeout=20)
    check(not slow.is_alive() and outcome.get("after", 99) < 8,
          f"{what}: dropped after {outcome.get('after', 0):.1f} s ({outcome.get('answer', b'')[:40]!r})")

server.post("/api/pause")
version = server.state()["version"]
answers = []


def poll():
    started = time.monotonic()
    a = server.get(f"/api/state?version={version}")
    answers.append((a and a.status, time.monotonic() - started))


polls = [threading.Thread(target=poll) for _ in range(12)]
for t in polls:
    t.start()
for t in polls:
    t.join(timeout=10)
quick = sum(1 for status, took in answers if took < 0.2)
check(len(answers) == 12 and all(status == 200 for status, _ in answers),
      f"12 polls at once all answered ({[s for s, _ in answers]})")
check(quick >= 6, f"at most 6 of them wait for a change ({quick} answered at once)")
server.post("/api/resume")
check(server.flies_on(), "the flight flies on after the polls")
check(server.stop() == 0, "the loopback server stops on its own terms")

TOKEN = "guard-test-token-0123"
server = Server(GAUGEHOST, SIM_ROOT, PANEL, SCENARIOS, os.path.join(OUT, "token"),
                ["--listen", "127.0.0.2", "--token", TOKEN])
P = server.port
check(server.printed.startswith(f"gaugehost: the live panel is at http://127.0.0.2:{P}/?token={TOKEN} "),
      f"the address printed carries the token ({server.printed.strip()})")
COOKIE = f"Cookie: gaugehost_token={TOKEN}"
# path, headers, Host, status, reason
TOKENS = [
    ("/", [], None, 403, "needs its token"),
    ("/api/flight", [], None, 403, "needs its token"),
    ("/?token=wrong", [], None, 403, "needs its token"),
    (f"/?token={TOKEN}x", [], None, 403, "needs its token"),
    ("/api/state", ["Cookie: gaugehost_token=wrong"], None, 403, "needs its token"),
    ("/api/state", [f"Cookie: other={TOKEN}"], None, 403, "needs its token"),
    (f"/?token={TOKEN}", [], None, 200, ""),
    ("/api/state", [COOKIE], None, 200, ""),
    ("/api/flight", [f"Cookie: a=b; gaugehost_token={TOKEN}; c=d"], None, 200, ""),
    ("/api/state", [COOKIE], f"127.0.0.1:{P}", 200, ""),
    ("/api/state", [COOKIE], f"evil.example:{P}", 403, "not to Host"),
    (f"/?token={TOKEN}", [], f"evil.example:{P}", 403, "not to Host"),
]
for path, headers, host, status, reason in TOKENS:
    a = server.get(path, headers=headers, host=host)
    refused(f"token: GET {path} {headers} Host {host}", a, status, reason)
first = server.get(f"/?token={TOKEN}")
cookie = first.headers.get("set-cookie", "")
check(cookie.startswith(f"gaugehost_token={TOKEN};") and "HttpOnly" in cookie
      and "SameSite=Strict" in cookie, f"the first visit leaves the cookie ({cookie})")
refused("token: a POST without it", server.post("/api/set", "name=altitude_m&value=5"), 403,
        "needs its token")
refused("token: a POST with it", server.post("/api/set", "name=altitude_m&value=250",
                                             headers=[COOKIE]), 200, "queued")
refused("token: a cross-site POST with it",
        server.request("POST", "/api/set", b"name=altitude_m&value=5",
                       [COOKIE, FORM, "Origin: http://evil.example"], origin=False), 403, "own page")
server.extra_headers = [COOKIE]
check(server.flies_on(), "token: the flight flies on")
check(server.stop() == 0, "the token server stops on its own terms")
finish()
