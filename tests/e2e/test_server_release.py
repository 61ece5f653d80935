"""A release as a user meets it, through torvane-server under Wine: the
service's /tg/ holds what tools/sign-release made for the next version (its
installer, the signed version file, a newer signed days-off file). The
installed calendar offers the update, the updater installs the installer the
service sends, and the calendar that comes back marks today from the new
days-off file. A days-off file the release key did not sign is never taken."""
import datetime
import subprocess
import unittest
from pathlib import Path

from calendar_app import MAIN_CLASS, CalendarApp, center
from harness import ROOT, SessionTest, free_port, local_settings
from server_pages import get
from sign_release import sign  # tools/, on the path through the harness
from test_install import (CURRENT, IDYES, NEWER, PROMPT_TITLE, PROGRAMS, UPDATER_WINDOW, WM_COMMAND, dotted4,
                          ini_text, package, versions)
from test_server_calendar import DATABASE, RELEASE_NOTES
from torvane_service import TorvaneService

SIGN_RELEASE = ROOT / "tools" / "sign-release"
TODAY = datetime.date.today()
DAY_OFF = "休息日（{}）"


def days_off_file(published_year, holiday):
    """A days-off file published on 1 January of `published_year` that makes
    today a day off named `holiday`; it covers more years than the shipped one,
    so that being newer is all it takes."""
    return (f"published {published_year}-01-01\nyears 1900 {TODAY.year + 1}\n"
            f"{TODAY.isoformat()} 休 {holiday}\n").encode("utf-8")


def flipped(signature):
    """A hexadecimal signature with one bit changed."""
    raw = bytearray(bytes.fromhex(signature))
    raw[7] ^= 0x01
    return raw.hex()


def max_age(headers):
    return int(headers["Cache-Control"].split("max-age=")[1].split(",")[0])


class ReleaseThroughServiceTest(SessionTest):
    screen = (1024, 768)

    def serve(self):
        # The forecast upstream plays no part here: a port nobody listens on.
        service = TorvaneService(f"http://127.0.0.1:{free_port()}", ip_database=DATABASE,
                                 site={"index.html": RELEASE_NOTES}).start()
        self.addCleanup(service.stop)
        return service

    @staticmethod
    def settings(service):
        base = service.base
        return f"[server]\nlocation={base}/ic.asp\nweather={base}/search.php?city=\nupdate={base}\n"

    @staticmethod
    def requests_of(service, target):
        return [r for r in service.log() if r["target"] == target]

    def publish(self, service, installer, holidays):
        """tools/sign-release run on the installer as a release is made, into
        the service's /tg/ folder, the installer beside what it wrote."""
        tg = service.folder / "tg"
        (tg / installer.name).write_bytes(installer.read_bytes())
        source = self.session.dir / "release-holidays.txt"
        source.write_bytes(holidays)
        subprocess.run([str(SIGN_RELEASE), str(tg / installer.name), "--version", NEWER,
                        "--url", f"{service.base}/tg/", "--out", str(tg), "--holidays", str(source)],
                       check=True, capture_output=True, timeout=120)
        return tg

    def end_suite(self, folder):
        self.session.run(folder / "halter.exe")
        self.session.wait_until(lambda: not {"torvane.exe", "torvo.exe", "torvaneupdate.exe"}
                                & set(self.session.processes()), timeout=30)

    def test_a_signed_release_is_offered_installed_and_its_days_off_taken(self):
        service = self.serve()
        installer = package(NEWER)
        new_days_off = days_off_file(TODAY.year + 1, "测试假日")
        tg = self.publish(service, installer, new_days_off)

        # This release installed with the service as its servers.
        folder = Path(self.session.env["WINEPREFIX"]) / "drive_c" / "TorvaneSvc"
        folder.mkdir(parents=True)
        shipped = (ROOT / "resources" / "set.ini").read_text(encoding="utf-8")
        text = local_settings(self.settings(service) + shipped)
        (folder / "set.ini").write_bytes(text.replace("\n", "\r\n").encode("gbk"))
        self.assertEqual(self.session.run(package(CURRENT), "/S", "/NORUN", "/D=C:\\TorvaneSvc", timeout=120), 0)
        self.addCleanup(self.end_suite, folder)
        self.assertEqual(versions(folder), [dotted4(CURRENT)] * len(PROGRAMS))

        # Started, it offers the signed release; Yes, then 立即升级.
        self.session.start(folder / "torvane.exe", "qidong")
        prompt = self.session.wait_until(lambda: self.session.windows(title=PROMPT_TITLE), timeout=60)
        self.assertTrue(prompt, "the signed newer release is offered")
        self.session.probe("post", prompt[0]["hwnd"], WM_COMMAND, IDYES, 0)
        updater = self.session.wait_window(UPDATER_WINDOW, timeout_ms=30000)["hwnd"]
        self.session.click(*center(self.session.elements(updater)["Image8"]["rect"]))

        # The installer the service sent ran: the programs are the new release.
        replaced = lambda: versions(folder) == [dotted4(NEWER)] * len(PROGRAMS)
        self.assertTrue(self.session.wait_until(replaced, timeout=120), versions(folder))
        self.assertTrue(self.session.wait_until(
            lambda: 200 in [r["status"] for r in self.requests_of(service, f"/tg/{installer.name}")]))
        self.assertRegex(ini_text(folder / "set.ini"), rf"(?i)\[version\]\r\nversion={NEWER}\r\n")
        self.assertEqual((folder / "version.ini").read_bytes(), (tg / "version.txt").read_bytes())

        # The calendar the installer brought back follows the new days off.
        window = self.session.wait_until(lambda: self.session.windows(cls=MAIN_CLASS), timeout=60)
        self.assertTrue(window, "the installer brings the calendar back")
        day_off = lambda: self.session.elements(window[0]["hwnd"])["DayOff"]["text"]
        self.assertTrue(self.session.wait_until(lambda: day_off() == DAY_OFF.format("测试假日"), timeout=60),
                        day_off())
        self.assertEqual((folder / "holidays.txt").read_bytes(), new_days_off)
        self.assertFalse(self.session.windows(title=PROMPT_TITLE), "the installed release offers nothing")
        self.session.screenshot("service-release-installed")

        # What a CDN in front keeps: the release's small files briefly, the
        # installer (its name carries its version) long; every file whole.
        cases = [("version.txt", False, "charset=gbk"), ("holidays.txt", False, "charset=utf-8"),
                 ("holidays.txt.sig", False, ""), (installer.name, True, "application/octet-stream")]
        for name, long_lived, content_type in cases:
            with self.subTest(name):
                status, headers, body = get(f"{service.base}/tg/{name}")
                self.assertEqual(status, 200)
                self.assertEqual(body, (tg / name).read_bytes())
                self.assertIn(content_type, headers["Content-Type"])
                if long_lived:
                    self.assertGreaterEqual(max_age(headers), 30 * 86400)
                else:
                    self.assertTrue(0 < max_age(headers) <= 600, headers["Cache-Control"])

    def test_a_days_off_file_the_release_key_did_not_sign_is_never_taken(self):
        service = self.serve()
        tg = service.folder / "tg"
        folder = self.session.program_folder(settings=self.settings(service))
        shipped = (folder / "holidays.txt").read_bytes()
        # Published later than the signed one below: taken by mistake, it
        # would keep that one out.
        forged = days_off_file(TODAY.year + 2, "伪造假日")
        signed = days_off_file(TODAY.year + 1, "测试假日")
        other_key = self.session.dir / "other-key.pem"
        subprocess.run(["openssl", "ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", str(other_key)],
                       check=True, capture_output=True)
        cases = [
            ("no signature", None),
            ("signed by another key", sign(forged, other_key)),
            ("the signature of another file", sign(signed)),
            ("a flipped bit", flipped(sign(forged))),
        ]
        for what, signature in cases:
            with self.subTest(what):
                (tg / "holidays.txt").write_bytes(forged)
                (tg / "holidays.txt.sig").unlink(missing_ok=True)
                if signature is not None:
                    (tg / "holidays.txt.sig").write_text(signature + "\n", encoding="ascii")
                asked = len(self.requests_of(service, "/tg/holidays.txt.sig"))
                app = CalendarApp(self.session, folder)
                self.assertTrue(self.session.wait_until(
                    lambda: len(self.requests_of(service, "/tg/holidays.txt.sig")) > asked, timeout=60))
                self.assertFalse(self.session.wait_until(
                    lambda: app.element("DayOff")["text"] == DAY_OFF.format("伪造假日"), timeout=5))
                self.session.stop(app.proc)
                self.assertEqual((folder / "holidays.txt").read_bytes(), shipped)
                self.assertEqual(sorted(p.name for p in folder.glob("holidays.download*")), [])

        (tg / "holidays.txt").write_bytes(signed)
        (tg / "holidays.txt.sig").write_text(sign(signed) + "\n", encoding="ascii")
        app = CalendarApp(self.session, folder)
        self.addCleanup(self.session.stop, app.proc)
        self.assertTrue(self.session.wait_until(
            lambda: app.element("DayOff")["text"] == DAY_OFF.format("测试假日"), timeout=60),
            app.element("DayOff")["text"])
        self.assertEqual((folder / "holidays.txt").read_bytes(), signed)
        app.widen()
        self.session.screenshot("service-days-off-taken")


if __name__ == "__main__":
    unittest.main()
