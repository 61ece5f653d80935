"""Update trust under Wine: a server that answers as a hostile network would
(no signature, a bad one, one over other bytes, an old release replayed,
names that split a command) gets nothing run and nothing changed, even when
the user clicks 立即升级; a signed release updates an installation in a folder
of the user's choosing, twice, and its uninstaller leaves no folder."""
import hashlib
import shutil
import unittest
from pathlib import Path

from calendar_app import MAIN_CLASS, CalendarApp, center
from harness import WIN_BIN, SessionTest, local_settings, ROOT
from sign_release import signed_text, version_body  # tools/, on the path through the harness
from test_install import CURRENT, NEWER, InstalledTest, dotted4, ini_text, package, versions, PROGRAMS

UPDATER_WINDOW = "TorvaneUpdate"
PROMPT_TITLE = "检测到更新"
INVALID = "升级信息无效，未下载任何文件"
NOT_STARTED = "无法启动安装程序，升级未完成"
WM_COMMAND, IDYES = 0x111, 6
INSTALLER = (WIN_BIN / "fakesetup.exe").read_bytes() if (WIN_BIN / "fakesetup.exe").exists() else b""
INSTALLER_SHA = hashlib.sha256(INSTALLER).hexdigest()


def snapshot(folder):
    """Every file of a program folder and its bytes, but for the command lines
    the stand-in programs record."""
    return {p.relative_to(folder).as_posix(): p.read_bytes() for p in Path(folder).rglob("*")
            if p.is_file() and p.suffix != ".cmdline"}


def flip_signature(text):
    """The same text with one bit of its signature changed."""
    at = text.rindex(b"Signature=") + len(b"Signature=") + 7
    return text[:at] + bytes([text[at] ^ 0x01]) + text[at + 1:]


def hostile_answers(base, installed_version):
    """(what, version file) a hostile network could serve."""
    url = f"{base}/tg/setup.exe"
    newer = version_body("9.0", url, "setup.exe", INSTALLER_SHA)
    other = version_body("9.1", url, "setup.exe", INSTALLER_SHA)
    return [
        ("no signature", newer),
        ("bad signature", flip_signature(signed_text(newer))),
        ("signature over other bytes", newer + signed_text(other)[len(other):]),
        ("old release replayed", signed_text(version_body("1.0", url, "setup.exe", INSTALLER_SHA))),
        ("equal release replayed", signed_text(version_body(installed_version, url, "setup.exe", INSTALLER_SHA))),
        ("del's separators", version_body("9.0", f"{base}/tg/set.ini,setup.exe", "set.ini,setup.exe",
                                          INSTALLER_SHA)),
    ]


class HostileNetworkTest(SessionTest):
    screen = (800, 600)
    serves = True
    served = {"/tg/setup.exe": INSTALLER, "/tg/set.ini,setup.exe": INSTALLER}

    def tearDown(self):
        for proc in self.session.started:
            self.session.stop(proc)

    def folder(self, version_ini):
        """A program folder of installed release 2.0 holding `version_ini`."""
        folder = self.session.program_folder(
            settings=f"[server]\nupdate={self.server.base}\n[version]\nversion=2.0\n")
        (folder / "version.ini").write_bytes(version_ini)
        return folder

    def installer_requests(self, since):
        """The installer downloads asked for after the `since`th request."""
        return [r for r in self.server.requests()[since:] if r.startswith("/tg/") and "setup" in r]

    def test_the_calendar_keeps_and_offers_nothing_a_hostile_network_serves(self):
        kept = signed_text(version_body("2.0", f"{self.server.base}/tg/setup.exe", "setup.exe", INSTALLER_SHA))
        for what, answer in hostile_answers(self.server.base, "2.0"):
            with self.subTest(what):
                folder = self.folder(kept)
                before = snapshot(folder)
                # What a calendar ended mid-download left: this start removes it.
                (folder / "~version.ini.4000000000.1.0.tmp").write_bytes(b"cut off")
                asked = len(self.server.requests())
                self.server.put_file("/tg/version.txt", answer)
                app = CalendarApp(self.session, folder)
                # The days-off fetch starts once the version file's download has ended.
                self.assertTrue(self.session.wait_until(
                    lambda: "/tg/holidays.txt" in self.server.requests()[asked:], timeout=30))
                self.assertFalse(self.session.wait_until(
                    lambda: self.session.windows(title=PROMPT_TITLE), timeout=3))
                self.assertEqual(snapshot(folder), before)
                self.assertEqual(self.installer_requests(asked), [])
                self.session.stop(app.proc)

    def test_the_updater_runs_nothing_even_when_the_user_clicks_upgrade(self):
        answers = hostile_answers(self.server.base, "2.0") + [
            ("signed, but del's separators", signed_text(version_body(
                "9.0", f"{self.server.base}/tg/set.ini,setup.exe", "set.ini,setup.exe", INSTALLER_SHA))),
            ("signed, but no digest", signed_text(version_body(
                "9.0", f"{self.server.base}/tg/setup.exe", "setup.exe", ""))),
        ]
        for what, version_ini in answers:
            with self.subTest(what):
                folder = self.folder(version_ini)
                shutil.copy2(WIN_BIN / "sleeper.exe", folder / "torvo.exe")
                shutil.copy2(WIN_BIN / "sleeper.exe", folder / "torvane.exe")
                before = snapshot(folder)
                asked = len(self.server.requests())
                suite = [self.session.start(folder / "torvo.exe"), self.session.start(folder / "torvane.exe")]
                updater_proc = self.session.start(folder / "torvaneupdate.exe", "9.0###shengji###")
                updater = self.session.wait_window(UPDATER_WINDOW)["hwnd"]
                elements = self.session.elements(updater)
                self.session.click(*center(elements["Image8"]["rect"]))
                self.assertTrue(self.session.wait_until(
                    lambda: self.session.elements(updater)["Message"]["text"] == INVALID),
                    self.session.elements(updater)["Message"])
                if what == answers[0][0]:
                    self.session.screenshot("updater-refuses-unsigned")
                self.session.click(*center(self.session.elements(updater)["I1"]["rect"]))
                updater_proc.wait(timeout=30)
                # One updater at a time: the next one starts once this one is gone.
                self.assertTrue(self.session.wait_until(
                    lambda: "torvaneupdate.exe" not in self.session.processes(), timeout=30))
                self.assertEqual([p.poll() for p in suite], [None, None], "nothing was ended")
                self.assertEqual(snapshot(folder), before)
                self.assertEqual(self.installer_requests(asked), [])
                for proc in suite:
                    self.session.stop(proc)


    def signed_folder(self):
        """A program folder whose signed version.ini offers the stand-in installer."""
        return self.folder(signed_text(version_body("9.0", f"{self.server.base}/tg/setup.exe", "setup.exe",
                                                    INSTALLER_SHA)))

    def test_a_hand_over_that_fails_brings_the_calendar_back(self):
        folder = self.signed_folder()
        # A folder where the script would go: it cannot be written.
        (folder / "setup.exe.cmd").mkdir()
        calendar = CalendarApp(self.session, folder)
        updater_proc = self.session.start(folder / "torvaneupdate.exe", "9.0###shengji###")
        updater = self.session.wait_window(UPDATER_WINDOW)["hwnd"]
        self.session.click(*center(self.session.elements(updater)["Image8"]["rect"]))
        self.assertTrue(self.session.wait_until(
            lambda: self.session.elements(updater)["Message"]["text"] == NOT_STARTED, timeout=30))
        self.assertTrue(self.session.wait_until(lambda: calendar.proc.poll() is not None),
                        "the calendar was ended for the installer")
        self.assertTrue(self.session.wait_until(
            lambda: [w for w in self.session.windows(cls=MAIN_CLASS) if w["hwnd"] != calendar.hwnd]),
            "and started again")
        self.assertNotIn("9.0", ini_text(folder / "set.ini"), "no version is recorded")
        self.assertFalse((folder / "installer-ran.txt").exists())
        # The calendar that came back may cover the updater: both end from outside.
        self.session.run(folder / "halter.exe")
        updater_proc.wait(timeout=30)

    def test_an_updater_ended_during_a_download_leaves_nothing_after_its_next_start(self):
        self.server.set_fault("/tg/setup.exe", "slow", bytes_per_second=len(INSTALLER) // 30)
        self.addCleanup(self.server.set_fault, "/tg/setup.exe", None)
        folder = self.signed_folder()
        # A temporary file of a program still running is that program's: it stays.
        shutil.copy2(WIN_BIN / "sleeper.exe", self.session.dir / "holder.exe")
        holder = self.session.start(self.session.dir / "holder.exe")
        self.addCleanup(self.session.stop, holder)
        pid = self.session.wait_until(
            lambda: [p["pid"] for p in self.session.probe("procs") if p["name"].lower() == "holder.exe"])
        held = folder / f"~version.ini.{pid[0]}.1.0.tmp"
        held.write_bytes(b"being written")
        unfinished = lambda: sorted(p.name for p in folder.glob("~*.tmp") if p != held)
        updater_proc = self.session.start(folder / "torvaneupdate.exe", "9.0###shengji###")
        updater = self.session.wait_window(UPDATER_WINDOW)["hwnd"]
        self.session.click(*center(self.session.elements(updater)["Image8"]["rect"]))
        self.assertTrue(self.session.wait_until(unfinished, timeout=30))
        self.session.run(folder / "halter.exe")  # as the uninstaller or the calendar's exit item would
        updater_proc.wait(timeout=30)
        self.assertTrue(unfinished(), "a program ended from outside cannot clean up")
        again = self.session.start(folder / "torvaneupdate.exe", "9.0###shengji###")
        self.assertTrue(self.session.wait_until(lambda: not unfinished(), timeout=30), unfinished())
        self.session.stop(again)
        self.assertFalse((folder / "setup.exe").exists())
        self.assertTrue(held.exists(), "the running program's file was removed")


    def test_a_body_sent_without_a_length_is_taken_only_when_its_wholeness_is_proven(self):
        """The installer by its digest; the signed version and days-off files
        (the block engine) within the limit their callers set. Without either,
        such an answer fails (EngineTest of test_updater)."""
        self.server.put_file("/unannounced.exe", INSTALLER)
        self.server.set_fault("/unannounced.exe", "nolength")
        folder = self.session.program_folder(files=("fetch.exe",))
        previous = b"the previous file"
        cases = [
            ("moniker", ["--sha", INSTALLER_SHA], "Done", INSTALLER),
            ("moniker", ["--sha", "0" * 64], "Mismatch", previous),
            ("zeq", ["--unannounced", str(1 << 20)], "Done", INSTALLER),
            ("zeq", ["--unannounced", "1000"], "Cut", previous),
        ]
        for engine, extra, outcome, kept in cases:
            with self.subTest(engine=engine, outcome=outcome):
                target = folder / "installer.exe"
                target.write_bytes(previous)
                before = set(self.session.dir.glob("fetch-*.log"))
                self.session.run(folder / "fetch.exe", engine, self.server.base + "/unannounced.exe",
                                 "Z:" + str(target).replace("/", "\\"), *extra, timeout=120)
                log = (set(self.session.dir.glob("fetch-*.log")) - before).pop()
                lines = log.read_text(encoding="utf-8", errors="replace").splitlines()
                self.assertIn("outcome " + outcome, lines)
                self.assertEqual(target.read_bytes(), kept)
                self.assertEqual(sorted(p.name for p in folder.glob("~*.tmp")), [])


class SignedUpdateTest(InstalledTest):
    """Install into a folder of the user's choosing, update twice through the
    calendar and the updater, uninstall."""
    CHOSEN = "C:\\Torvane Cal"  # a space, as under Program Files

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        prefix = Path(cls.session.env["WINEPREFIX"])
        cls.folder = prefix / "drive_c" / "Torvane Cal"
        users = [p for p in (prefix / "drive_c" / "users").iterdir() if p.name.lower() != "public"]
        cls.default_folder = users[0] / "AppData" / "Local" / "Programs" / "Torvane"

    def update_to(self, version, installer_bytes):
        """Serves a signed release and takes it as a user would: Yes, 立即升级."""
        name = f"torvane-setup-{version}.exe"
        url = f"{self.server.base}/tg/{name}"
        sha = hashlib.sha256(installer_bytes).hexdigest()
        self.server.put_file(f"/tg/{name}", installer_bytes)
        self.server.put_file("/tg/version.txt", signed_text(version_body(version, url, name, sha)))
        self.end_suite()
        self.session.start(self.folder / "torvane.exe", "qidong")
        prompt = self.session.wait_until(lambda: self.session.windows(title=PROMPT_TITLE), timeout=30)
        self.assertTrue(prompt, "a signed newer release is offered")
        self.session.probe("post", prompt[0]["hwnd"], WM_COMMAND, IDYES, 0)
        updater = self.session.wait_window(UPDATER_WINDOW)["hwnd"]
        self.session.click(*center(self.session.elements(updater)["Image8"]["rect"]))
        # The updater ends the calendar; only the installer's last step brings it back.
        self.assertTrue(self.session.wait_until(lambda: not self.session.windows(cls=UPDATER_WINDOW),
                                                timeout=60))
        self.assertTrue(self.calendar_running(), "the installer brings the calendar back")
        self.assertTrue((self.folder / name).exists())

    def test_an_installation_in_a_chosen_folder_updates_there_twice_and_uninstalls_whole(self):
        self.folder.mkdir(parents=True, exist_ok=True)
        shipped = (ROOT / "resources" / "set.ini").read_text(encoding="utf-8")
        text = local_settings(f"[server]\nupdate={self.server.base}\n" + shipped)
        (self.folder / "set.ini").write_bytes(text.replace("\n", "\r\n").encode("gbk"))
        # /D= takes the rest of the command line, unquoted: its words as separate arguments.
        self.assertEqual(self.session.run(package(CURRENT), "/S", *f"/D={self.CHOSEN}".split(" "), timeout=120), 0)
        self.assertEqual(versions(self.folder), [dotted4(CURRENT)] * len(PROGRAMS))
        self.assertEqual(self.session.reg_query(r"HKCU\Software\Torvane", "InstallDir"), self.CHOSEN)
        self.session.set_flags(self.folder, x1=False)

        self.update_to(NEWER, package(NEWER).read_bytes())
        self.assertEqual(versions(self.folder), [dotted4(NEWER)] * len(PROGRAMS))
        self.assertFalse(self.default_folder.exists(), "one copy on disk")
        self.assertIn("x1=False", ini_text(self.folder / "set.ini"), "the user's switches are kept")
        self.assertIn(self.CHOSEN, self.session.reg_query(
            r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvane", "UninstallString"))

        # A second release (the same installer under a later number).
        self.update_to(NEWER + ".1", package(NEWER).read_bytes())
        self.assertFalse(self.default_folder.exists())
        self.assertIn("x1=False", ini_text(self.folder / "set.ini"))

        self.end_suite()
        self.session.run(self.folder / "uninst.exe", "/S")
        self.assertTrue(self.session.wait_until(lambda: not self.folder.exists(), timeout=60),
                        sorted(p.name for p in self.folder.glob("*")) if self.folder.exists() else [])
        self.assertIsNone(self.session.reg_query(r"HKCU\Software\Torvane", "InstallDir"))


if __name__ == "__main__":
    unittest.main()
