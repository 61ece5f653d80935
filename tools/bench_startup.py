#!/usr/bin/env python3
"""Start-up time under Wine: from process start to the first shown window of
torvane.exe, against the plainest Win32 window program started the same way.
The calendar runs twice: with its pages refused, and with a server that
accepts and never answers (the window must not wait for either).

Run after a Windows build: python3 tools/bench_startup.py [runs]   (at least 15)
"""
import json
import os
import socket
import statistics
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402

# Fewer runs than this leave the median at the mercy of one slow moment.
MIN_RUNS = 15


def time_to_window(session, exe, args, window_class):
    waiter = subprocess.Popen([harness.WINE, str(harness.WIN_BIN / "probe.exe"), "waitshown",
                               window_class, "20000"], env=session.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    try:
        # The program starts once the waiter says it is looking for the window.
        if b"waiting" not in waiter.stdout.readline():
            raise RuntimeError("the window waiter did not start")
        start_ms = time.time() * 1000
        proc = session.start(exe, *args)
        out, _ = waiter.communicate(timeout=30)
    finally:
        if waiter.poll() is None:
            waiter.kill()
    lines = out.decode().strip().splitlines()
    os.killpg(proc.pid, 9)
    proc.wait()
    session.wait_until(lambda: not session.windows(cls=window_class), timeout=10)
    if not lines:
        raise RuntimeError("the window waiter saw no window")
    shown = json.loads(lines[-1])["shown_unix_ms"]
    return shown - start_ms


def timed(session, exe, args, window_class, attempts=3):
    """time_to_window, again when Wine could not start the waiter (a loaded
    machine now and then fails a process start)."""
    for attempt in range(attempts):
        try:
            return time_to_window(session, exe, args, window_class)
        except RuntimeError:
            if attempt == attempts - 1:
                raise


def refused_pages_folder(session):
    """A calendar's folder whose pages are refused: every address names a
    port of this machine that nothing listens on."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        closed = f"http://127.0.0.1:{probe.getsockname()[1]}"
    return session.program_folder(files=("torvane.exe", "set.ini"), settings=(
        f"[server]\nlocation={closed}/ic.asp\nweather={closed}/search.php?city=\nupdate={closed}\n"))


def main():
    runs = max(MIN_RUNS, int(sys.argv[1]) if len(sys.argv) > 1 else MIN_RUNS)
    session = harness.Session(1280, 1024)
    server = harness.StandinServer().start()
    for path in ("/ic.asp", "/search.php"):
        server.set_fault(path, "hang")
    try:
        folder = refused_pages_folder(session)
        holed = session.program_folder(files=("torvane.exe", "set.ini"), settings=(
            f"[server]\nlocation={server.base}/ic.asp\nweather={server.base}/search.php?city=\n"))
        plain = harness.WIN_BIN / "plainwindow.exe"
        programs = (("plain window", plain, (), "PlainWindow"),
                    ("torvane", folder / "torvane.exe", ("qidong",), "TorvaneMain"),
                    ("black-holed", holed / "torvane.exe", ("qidong",), "TorvaneMain"))
        results = {name: [] for name, *_ in programs}
        for _, exe, args, cls in programs:
            time_to_window(session, exe, args, cls)  # warm the file cache
        # Interleaved, so a slow moment of the machine hits both alike.
        for _ in range(runs):
            for name, exe, args, cls in programs:
                results[name].append(timed(session, exe, args, cls))
        for name, values in results.items():
            print(f"{name:14s} median {statistics.median(values):7.1f} ms  "
                  f"min {min(values):7.1f} ms  ({runs} runs)")
        for name in ("torvane", "black-holed"):
            ratio = statistics.median(results[name]) / statistics.median(results["plain window"])
            low = min(results[name]) / min(results["plain window"])
            print(f"ratio {name} / plain window: median {ratio:.2f}, minimum {low:.2f}")
    finally:
        session.close()
        server.stop()


if __name__ == "__main__":
    main()
