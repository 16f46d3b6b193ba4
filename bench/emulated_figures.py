"""The emulated loader's figures on the performance page: the hour flown
natively and in the emulated loader (also with each optional check), the
.gau files' own instruction counts, and where the loader's time goes.
Used by performance_report.py."""
import os
import subprocess
import tempfile
import time

from page_common import GAUGES, HERE, ROOT, STATES, rel, verdict

EMULATED_FRAMES_TARGET = 50_000  # six gauges of the real .gau files, every event written
HOUR_FRAMES = 64_800


# Where the emulated loader's time goes: measured with perf and
# bench/guest_machine_bench on the 2-CPU development machine; Unicorn's
# behaviour, not a figure make bench measures.
EMULATED_TIME_NOTE = [
    "Where the time goes (perf, and `build/bench/bin/guest_machine_bench`: calls of a bare",
    "`ret`, loops of pushes and of adds, calls of an empty stub): Debian's Unicorn 2.0.1 sends",
    "every guest write to RAM through its self-modifying-code check (`notdirty_write`:",
    "`page_collection_lock`, which allocates and frees a GLib tree, then",
    "`tb_invalidate_phys_page_fast`), whether or not the page holds code and with no hook",
    "at all: about 150 ns a write on this machine when it is quiet (up to 700 ns while other",
    "builds run), against a few ns for a read or an ALU instruction. Module code pushes its",
    "arguments and return addresses, so every call pays it several times: a call into module",
    "code costs some 0.2 us before its own work, a call of an empty service stub 0.4 us.",
    "The library has no way to mark RAM as holding no code (mapping the stack otherwise, with",
    "`uc_mem_map` or `uc_mem_map_ptr`, executable or not, was tried: the same), and the",
    "writes are module code's own; the target needs a Unicorn whose writes skip that check,",
    "not a change of the loader, which already keeps the emulator inside module code between",
    "service calls: one code hook, on the stub entries and return addresses only (the stubs'",
    "tails lie outside it), the module's sections on pages of their own (no code shares a",
    "page with written data, so nothing is translated twice), a uc_context saved only for a",
    "call nested in a service. What each check costs, from the same benchmark: the budget's",
    "block hook some 1.5 ns a translated block; the heap check nothing until a heap shim",
    "runs; `--check-writes` some 30 ns on every write (about 20 % on writes);",
    "`--count-instructions` some 12 ns on every instruction (several times an ALU one's).",
    "",
]


def time_loaders(bench_dir, win32_bin):
    """The hour flight with every event written to a log, natively (.so) and
    through the emulated loader (the real .gau files), also with each of its
    optional checks: frames per second, best of three each."""
    exe = os.path.join(bench_dir, "bin", "gaugehost")
    flight = os.path.join(HERE, "hour.flight")
    rows = []
    with tempfile.TemporaryDirectory() as tmp:
        log = os.path.join(tmp, "hour.log")
        for name, modules, extra in (
                ("native (.so)", os.path.join(bench_dir, "bin"), []),
                ("emulated (.gau)", win32_bin, []),
                ("emulated, --check-writes", win32_bin, ["--check-writes"]),
                ("emulated, --count-instructions", win32_bin, ["--count-instructions"])):
            cmd = [exe, "fly", flight, "--root", os.path.join(bench_dir, "root"), "--modules",
                   modules, "--log", log] + extra
            best = None
            for _ in range(3):
                start = time.monotonic()
                subprocess.run(cmd, check=True, cwd=ROOT, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
                seconds = time.monotonic() - start
                best = seconds if best is None else min(best, seconds)
            shown = " ".join(rel(c) if os.path.isabs(c) and c.startswith(ROOT) else c for c in cmd)
            rows.append((name, shown.replace(log, "/tmp/hour.log"), best))
    return rows


def emulated_counts(bench_dir, win32_bin):
    """Instructions per frame of each gauge (its update and its needles' value
    callbacks) as the emulated loader counts them in the real .gau files:
    update_count STATE N GAU_DIR, the second N frames."""
    exe = os.path.join(bench_dir, "bin", "update_count")
    figures = {}
    for state in STATES:
        out = subprocess.run([exe, state, "1000", win32_bin], check=True, capture_output=True,
                             text=True, cwd=ROOT).stdout
        for line in out.split("\n"):
            parts = line.split()
            if len(parts) == 3:
                figures[(parts[0], parts[1])] = int(parts[2])
    return f"{rel(exe)} STATE 1000 {rel(win32_bin)}", figures


def emulated_count_lines(callgrind_figures, emulated):
    """The page's table of the shipped modules' own instruction counts, beside
    callgrind's count of the native twins."""
    cmd, counts = emulated
    lines = []
    add = lines.append
    add("The shipped modules' own count beside it: the real 32-bit .gau files in the emulated")
    add("loader, which counts every instruction of module code exactly when asked")
    add(f"(`--count-instructions`; command: `{cmd}`, the second 1000 frames), for the same")
    add("calls: the gauge's update and its needles' value callbacks. It also counts the few")
    add("instructions of each host service stub's return path (five or six a service call).")
    add("i686 code from mingw-w64 (Release, -O3) in the .gau, against the x86-64 .so under callgrind:")
    add("")
    add("| gauge | " + " | ".join(f"{s} .so | {s} .gau" for s in STATES) + " |")
    add("|---|" + "---:|---:|" * len(STATES))
    for g in GAUGES:
        cells = []
        for s in STATES:
            native = callgrind_figures.get((g, s))
            cells.append(str(native[0]) if native else "n/a")
            cells.append(str(counts[(g, s)]) if (g, s) in counts else "n/a")
        add(f"| {g} | " + " | ".join(cells) + " |")
    add("")
    return lines


def emulated_loader_lines(loaders):
    """The page's section on the emulated loader, from time_loaders' rows."""
    lines = []
    add = lines.append
    add("## The shipped modules in the emulated loader")
    add("")
    add("The same hour, every event written to a text log, flown by the native host against the")
    add("native twins and against the real 32-bit .gau files in the emulated loader (Unicorn),")
    add("whole runs including loading, best of 3. The loader stops the emulator only at the host")
    add("service stubs; its instruction budget is counted per translated block; the heap check")
    add("(a heap call once the gauges are installed ends the flight) costs nothing until a heap")
    add("shim is called. The two optional checks, off by default, are timed in rows of their")
    add("own: `--check-writes` (a hook on every write of module code) and `--count-instructions`")
    add("(a hook on every instruction).")
    add("")
    add("| modules | seconds | frames/s | against the plain emulated run | target |")
    add("|---|---:|---:|---:|---|")
    plain = next((sec for name, _, sec in loaders if name == "emulated (.gau)"), None)
    for name, _, seconds in loaders:
        fps = HOUR_FRAMES / seconds
        target = (f"{EMULATED_FRAMES_TARGET:,}: {verdict(fps >= EMULATED_FRAMES_TARGET)}"
                  if name == "emulated (.gau)" else "")
        cost = (f"{seconds / plain:.2f} x" if plain and "emulated" in name else "")
        add(f"| {name} | {seconds:.2f} | {fps:,.0f} | {cost} | {target} |")
    add("")
    for name, cmd, _ in loaders:
        add(f"Command, {name}: `{cmd}`")
        add("")
    lines.extend(EMULATED_TIME_NOTE)
    return lines
