#!/usr/bin/env python3
"""Where start-up time goes under Wine: runs the calendar (pages refused) and
the plain window in turn with Wine's +timestamp,+loaddll,+debugstr trace and
prints, per program, the median time from its image's load to each library
load and each OutputDebugString mark of the window's thread, and what other
threads (or Wine's own processes) loaded before the window was shown. Add temporary marks with
OutputDebugStringA("mark ...") to split a step.

Run after a Windows build: python3 tools/trace_startup.py [runs]
"""
import re
import shutil
import statistics
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402
from bench_startup import refused_pages_folder  # noqa: E402

LINE = re.compile(r'(\d+\.\d+):([0-9a-f]{4}):\S+ (?:Loaded L"([^"]*)"|OutputDebugStringA "([^"\\]*))')


def events(text):
    """(ms since the image loaded, thread, what) of one run, up to the first
    show (ole32's load by the window's thread, which Wine's ShowWindow does)."""
    found, first, main = [], None, None
    for match in LINE.finditer(text):
        stamp, thread, dll, mark = match.groups()
        ms = float(stamp) * 1000
        if first is None:
            first, main = ms, thread
        what = dll.rsplit("\\", 1)[-1].lower() if dll else mark.strip()
        found.append((ms - first, thread == main, what))
        if thread == main and what == "ole32.dll":
            break
    return found


def trace(session, exe, args, window_class):
    env = dict(session.env, WINEDEBUG="+timestamp,+loaddll,+debugstr")
    log = session.dir / "trace.log"
    with open(log, "wb") as out:
        proc = subprocess.Popen([harness.WINE, str(exe), *args], env=env, cwd=exe.parent, stdout=out,
                                stderr=out, start_new_session=True)
    try:
        if not session.wait_until(lambda: session.windows(cls=window_class), timeout=60):
            raise RuntimeError(f"{exe.name} showed no window")
    finally:
        session.stop(proc)
        session.wait_until(lambda: not session.windows(cls=window_class), timeout=20)
    return events(log.read_text(errors="replace"))


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 9
    session = harness.Session(1280, 1024)
    try:
        folder = refused_pages_folder(session)
        programs = (("plain window", harness.WIN_BIN / "plainwindow.exe", (), "PlainWindow"),
                    ("torvane", folder / "torvane.exe", ("qidong",), "TorvaneMain"))
        times = {name: {} for name, *_ in programs}
        for _ in range(runs):
            for name, exe, args, cls in programs:
                for ms, on_main, what in trace(session, exe, args, cls):
                    key = what if on_main else f"(another thread or process) {what}"
                    times[name].setdefault(key, []).append(ms)
        for name, found in times.items():
            print(f"== {name}: median ms after the image's load ({runs} runs)")
            for key, values in sorted(found.items(), key=lambda kv: statistics.median(kv[1])):
                print(f"{statistics.median(values):8.1f}  {key}  ({len(values)}/{runs})")
    finally:
        session.close()
    shutil.rmtree(session.dir, ignore_errors=True)


if __name__ == "__main__":
    main()
