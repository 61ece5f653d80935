#!/usr/bin/env python3
"""Starts the calendar under Wine against torvane-server on 127.0.0.1, which
asks a recorded forecast upstream (or the one --upstream names) and places
this machine where --place says.

With $DISPLAY set it runs there until the calendar ends (its tray menu's exit
item, or Ctrl+C). Without a display it uses a private Xvfb, waits a few
seconds, writes a screenshot to build/run/screenshot.png and stops.
"""
import argparse
import re
import os
import shutil
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
sys.path.insert(0, str(ROOT / "tools"))
import harness  # noqa: E402
from recorded_upstream import RecordedUpstream  # noqa: E402
from torvane_service import build_ip_database, TorvaneService  # noqa: E402
from sign_release import TEST_KEY, sign  # noqa: E402

PLACE = re.compile(r"^(.+?(?:省|自治区|特别行政区|市))(.*?市)?(?:\s+(\S+))?$")


def place_database(place):
    """An IP database that puts every 127.x address at `place`
    ("浙江省杭州市 电信", "北京市", "香港特别行政区")."""
    match = PLACE.match(place.strip())
    if not match:
        raise SystemExit(f"--place: not a place: {place}")
    province, city, isp = match.group(1), match.group(2) or "0", match.group(3) or "0"
    return build_ip_database([("127.0.0.0", "127.255.255.255", f"中国|0|{province}|{city}|{isp}")])


def main():
    run_dir = ROOT / "build" / "run"
    run_dir.mkdir(parents=True, exist_ok=True)
    parser = argparse.ArgumentParser(description="the calendar under Wine, against torvane-server")
    parser.add_argument("--place", default="广东省深圳市 电信", help="where the service places this machine")
    parser.add_argument("--upstream", help="the forecast API's base address (default: a recorded one)")
    args = parser.parse_args()
    recorded = None if args.upstream else RecordedUpstream().start()
    site = {"index.html": (ROOT / "server" / "site" / "index.html").read_bytes()}  # the pane's release notes
    # The update server's days-off file, signed as a release would be: the
    # calendar takes it only with a valid signature.
    if TEST_KEY.exists():
        days_off = (ROOT / "resources" / "holidays.txt").read_bytes()
        site["holidays.txt"] = days_off
        site["holidays.txt.sig"] = (sign(days_off) + "\n").encode("ascii")
    server = TorvaneService(args.upstream or recorded.base, ip_database=place_database(args.place),
                            site=site, folder=run_dir / "service").start()
    print(f"torvane-server at {server.base}; access log {server.folder / 'access.log'}")
    base = server.base
    display = os.environ.get("DISPLAY")
    session = harness.Session(1280, 1024, display=display)
    try:
        folder = session.program_folder(settings=(
            f"[server]\nhome={base}/\nlocation={base}/ic.asp\nweather={base}/search.php?city=\n"
            f"update={base}\nprobe={base}/\n"))
        calendar = session.start(folder / "torvane.exe", "qidong")
        if display:
            print(f"Torvane runs on {display}. Ctrl+C ends it.")
            calendar.wait()
        else:
            hwnd = session.wait_window("TorvaneMain")["hwnd"]
            # The picture is worth taking once the city and its weather came.
            shown = lambda: all(session.elements(hwnd).get(name, {}).get("text", "") not in ("", "加载...")
                                for name in ("Label12", "Label8"))
            if not session.wait_until(shown, timeout=60):
                print("the city or its weather did not come within a minute")
            session.screenshot("run")
            shot = run_dir / "screenshot.png"
            shutil.copy(harness.E2E_DIR / "shots" / "run.png", shot)
            print(f"No display: screenshot written to {shot}")
    except KeyboardInterrupt:
        pass
    finally:
        session.close()
        server.stop()
        if recorded:
            recorded.stop()


if __name__ == "__main__":
    main()
