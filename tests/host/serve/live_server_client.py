"""What the live panel's tests share: a `gaugehost serve` of its own on a
loopback port, requests written byte for byte (so a test can send what no
library would), and `gaugehost fly` to check a saved flight."""
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import time

failures = []

SKIPPED = 77


def wait_for(what, test, seconds=20.0, every=0.1):
    """test()'s first true value within `seconds`, or AssertionError naming `what`."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = test()
        if value:
            return value
        time.sleep(every)
    raise AssertionError(f"waited {seconds} s for {what}")


def browser_or_skip(name, unchecked):
    """Exits 77 (skipped, saying what goes `unchecked`) when python3-selenium,
    chromium or chromium-driver is missing; on CI (CI=true) that fails."""
    missing = None
    try:
        import selenium  # noqa: F401
    except ImportError:
        missing = "python3-selenium is not installed"
    if missing is None and (shutil.which("chromedriver") is None or shutil.which("chromium") is None):
        missing = "chromium or chromium-driver is not installed"
    if missing is None:
        return
    if os.environ.get("CI") == "true":
        print(f"{name}: {missing} (tools/install-deps.sh browser installs it)")
        sys.exit(1)
    print(f"{name}: skipped, {missing}: {unchecked}")
    sys.exit(SKIPPED)


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)
    return ok


def finish():
    if failures:
        print(f"{len(failures)} failed:")
        for f in failures:
            print("  " + f)
        raise SystemExit(1)
    print("all passed")


class Answer:
    def __init__(self, raw):
        self.raw = raw
        head, _, self.body = raw.partition(b"\r\n\r\n")
        lines = head.split(b"\r\n")
        parts = lines[0].split(b" ") if lines and lines[0] else [b"", b"0"]
        self.status = int(parts[1]) if len(parts) > 1 and parts[1].isdigit() else 0
        self.headers = {}
        for line in lines[1:]:
            name, _, value = line.partition(b":")
            self.headers[name.strip().lower().decode("latin-1")] = value.strip().decode("latin-1")
        if self.headers.get("transfer-encoding") == "chunked":
            self.body = unchunk(self.body)

    def text(self):
        return self.body.decode("utf-8", errors="replace")

    def json(self):
        return json.loads(self.body)


def unchunk(body):
    out = b""
    while body:
        size_text, _, rest = body.partition(b"\r\n")
        size = int(size_text or b"0", 16)
        if size == 0:
            break
        out += rest[:size]
        body = rest[size + 2:]
    return out


def chunked(body, size=1000):
    out = b""
    for i in range(0, len(body), size):
        piece = body[i:i + size]
        out += b"%x\r\n" % len(piece) + piece + b"\r\n"
    return out + b"0\r\n\r\n"


class Server:
    """`gaugehost serve` on the sample panel, its stdout's address read."""

    def __init__(self, gaugehost, sim_root, panel, scenarios, out, extra=()):
        os.makedirs(out, exist_ok=True)
        self.log = os.path.join(out, "session.log")
        self.err_path = os.path.join(out, "serve.err")
        self.err = open(self.err_path, "w")
        self.process = subprocess.Popen(
            [gaugehost, "serve", panel, "--root", sim_root, "--scenarios", scenarios,
             "--port", "0", "--log", self.log, *extra],
            stdout=subprocess.PIPE, stderr=self.err, text=True)
        self.printed = self.process.stdout.readline()
        found = re.search(r"http://([^ /]+):(\d+)/(\S*)", self.printed)
        if not found:
            raise SystemExit(f"gaugehost serve printed no address: {self.printed!r}")
        self.host, self.port, self.rest = found.group(1), int(found.group(2)), found.group(3)
        self.address = self.host.strip("[]")
        self.origin = f"http://{self.host}:{self.port}"
        self.extra_headers = []

    def stop(self):
        self.process.terminate()
        code = self.process.wait(timeout=30)
        self.err.close()
        return code

    def stderr(self):
        if not self.err.closed:
            self.err.flush()
        with open(self.err_path, errors="replace") as f:
            return f.read()

    def send(self, data, timeout=10.0):
        """Sends bytes on a connection of their own; the answer, or None."""
        with socket.create_connection((self.address, self.port), timeout=timeout) as s:
            try:
                s.sendall(data)
            except OSError:
                pass  # refused before it was all sent: the answer may still be there
            out = b""
            try:
                while True:
                    piece = s.recv(65536)
                    if not piece:
                        break
                    out += piece
            except OSError:
                pass
        return Answer(out) if out else None

    def request(self, method, path, body=b"", headers=(), host=None, origin=True):
        head = f"{method} {path} HTTP/1.1\r\nHost: {f'{self.host}:{self.port}' if host is None else host}\r\n"
        head += "Connection: close\r\n"
        if origin and method == "POST":
            head += f"Origin: {self.origin}\r\n"
        for line in [*self.extra_headers, *headers]:
            head += line + "\r\n"
        if body and not any(h.lower().startswith(("content-length", "transfer-encoding"))
                            for h in headers):
            head += f"Content-Length: {len(body)}\r\n"
        if method == "POST" and not any(h.lower().startswith("content-type") for h in headers):
            head += "Content-Type: application/x-www-form-urlencoded\r\n"
        return self.send(head.encode("latin-1") + b"\r\n" + body)

    def get(self, path, **kw):
        return self.request("GET", path, **kw)

    def post(self, path, form=b"", **kw):
        return self.request("POST", path, form if isinstance(form, bytes) else form.encode(), **kw)

    def state(self, version=0, after=0):
        a = self.get(f"/api/state?version={version}&after={after}")
        return a.json() if a and a.status == 200 else None

    def flies_on(self):
        """The state answers 200 and the flight moves on."""
        first = self.state()
        if first is None:
            return False
        end = time.monotonic() + 10
        while time.monotonic() < end:
            now = self.state(first["version"])
            if now is None:
                return False
            if now["session"] != first["session"] or now["frame"] > first["frame"] or now["ended"]:
                return True
        return False

    def notes(self):
        s = self.get("/api/state?after=0").json()
        return [e["what"] for e in s["events"] if e["kind"] == "note"]

    def fly_scenario(self, name, seconds=120):
        """Chooses a flight of the list and waits for it to end; its state."""
        self.post("/api/speed", "value=8")
        before = self.state()["session"]
        chosen = self.post("/api/scenario", "name=" + quote(name))
        if chosen is None or chosen.status != 200:
            return chosen, None
        end = time.monotonic() + seconds
        s = self.state()
        while time.monotonic() < end and not (s["session"] != before and s["ended"]):
            s = self.state(s["version"])
        return chosen, s


def quote(text):
    from urllib.parse import quote as url_quote
    return url_quote(text, safe="")


def fly(gaugehost, sim_root, flight, log):
    """`gaugehost fly` of a file: its exit code and its log."""
    done = subprocess.run([gaugehost, "fly", flight, "--root", sim_root, "--log", log],
                          capture_output=True, text=True, timeout=300)
    try:
        with open(log, "rb") as f:
            return done.returncode, f.read(), done.stdout + done.stderr
    except OSError:
        return done.returncode, b"", done.stdout + done.stderr
