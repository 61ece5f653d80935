#!/usr/bin/env python3
"""Starts the calendar under Wine against the local stand-in server.

With $DISPLAY set it runs there until the calendar ends (its tray menu's exit
item, or Ctrl+C). Without a display it uses a private Xvfb, waits a few
seconds, writes a screenshot to build/run/screenshot.png and stops.
"""
import argparse
import os
import shutil
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402
from harness import StandinServer  # noqa: E402
from sign_release import TEST_KEY, sign  # noqa: E402


def main():
    run_dir = ROOT / "build" / "run"
    run_dir.mkdir(parents=True, exist_ok=True)
    parser = argparse.ArgumentParser(description="the calendar under Wine, against the stand-in")
    parser.add_argument("--place", default="广东省深圳市 电信", help="what /ic.asp says after 来自：")
    args = parser.parse_args()
    server = StandinServer(place=args.place,
                           log_path=run_dir / "requests.log").start()
    base = server.base
    # The update server's days-off file, signed as a release would be: the
    # calendar takes it only with a valid signature.
    if TEST_KEY.exists():
        days_off = (ROOT / "resources" / "holidays.txt").read_bytes()
        server.put_file("/tg/holidays.txt", days_off)
        server.put_file("/tg/holidays.txt.sig", (sign(days_off) + "\n").encode("ascii"))
    display = os.environ.get("DISPLAY")
    session = harness.Session(1280, 1024, display=display)
    try:
        folder = session.program_folder(settings=(
            f"[server]\nhome={base}/\nlocation={base}/ic.asp\nweather={base}/search.php?city=\n"
            f"update={base}\nprobe={base}/\n"))
        calendar = session.start(folder / "torvane.exe", "qidong")
        if display:
            print(f"Torvane runs on {display}; stand-in server at {base}. Ctrl+C ends it.")
            calendar.wait()
        else:
            session.wait_window("TorvaneMain")
            time.sleep(3)
            session.screenshot("run")
            shot = run_dir / "screenshot.png"
            shutil.copy(harness.E2E_DIR / "shots" / "run.png", shot)
            print(f"No display: screenshot written to {shot}")
    except KeyboardInterrupt:
        pass
    finally:
        session.close()
        server.stop()


if __name__ == "__main__":
    main()
