#!/usr/bin/env python3
"""Idle cost of the visible calendar under Wine, against the plainest window.

In a private session it starts `torvane.exe qidong` and then, on its own,
plainwindow.exe; once a program's window shows and its start-up work is over,
it sums the CPU time (utime + stime of /proc/<pid>/stat, in clock ticks) of the
program's Wine processes, its process group, over an interval and prints it as
a share of one core. A measurement, not a test: nothing is asserted.

Run after a Windows build: python3 tools/idle_cpu.py [--seconds 60] [--settle 6]
"""
import argparse
import os
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402

TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def group_ticks(group):
    """CPU ticks (user + system) used so far by each process of a process group."""
    ticks = {}
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            text = stat.read_text()
        except OSError:  # ended while we looked
            continue
        # The command name may hold spaces and parentheses: fields start after the last ")".
        fields = text[text.rindex(")") + 2:].split()
        pgrp, utime, stime = int(fields[2]), int(fields[11]), int(fields[12])
        if pgrp == group:
            ticks[int(stat.parent.name)] = utime + stime
    return ticks


def idle_cost(session, exe, args, window_class, seconds, settle):
    """(ticks used over `seconds`, processes seen) by a program idling with its window shown."""
    proc = session.start(exe, *args)
    try:
        session.wait_window(window_class, timeout_ms=30000)
        time.sleep(settle)  # start-up timers and the first paints are not idling
        before = group_ticks(proc.pid)
        time.sleep(seconds)
        after = group_ticks(proc.pid)
    finally:
        session.stop(proc)
    # A process that ended in between took its ticks with it; one that started
    # in between counts from zero.
    used = sum(ticks - before.get(pid, 0) for pid, ticks in after.items())
    return used, len(before.keys() | after.keys())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=60.0, help="length of each measurement")
    parser.add_argument("--settle", type=float, default=6.0,
                        help="wait after the window shows before measuring")
    options = parser.parse_args()

    session = harness.Session(1280, 1024)
    try:
        folder = session.program_folder(files=("torvane.exe", "set.ini"))
        programs = (("torvane qidong", folder / "torvane.exe", ("qidong",), "TorvaneMain"),
                    ("plain window", harness.WIN_BIN / "plainwindow.exe", (), "PlainWindow"))
        for name, exe, args, window_class in programs:
            used, processes = idle_cost(session, exe, args, window_class, options.seconds,
                                        options.settle)
            share = 100.0 * used / (TICKS_PER_SECOND * options.seconds)
            print(f"{name:15s} {share:6.2f} % of one core  ({used} ticks in {options.seconds:g} s, "
                  f"{processes} process{'es' if processes != 1 else ''})", flush=True)
    finally:
        session.close()


if __name__ == "__main__":
    main()
