"""torvaneupdate.exe and its download engines under Wine, against the
stand-in server: the upgrade a user clicks through, cancel, a second start,
and update information that must never run anything.

A stand-in installer (fakesetup.exe, served as setup.exe) records that it ran,
with which arguments, in which folder, and the script that started it."""
import hashlib
import shutil
import unittest
from pathlib import Path

from calendar_app import CalendarApp, center
from harness import WIN_BIN, Session, SessionTest, StandinServer, shot_path
from sign_release import signed_text  # tools/, on the path through the harness

UPDATER_WINDOW = "TorvaneUpdate"
INSTALLER = (WIN_BIN / "fakesetup.exe").read_bytes() if (WIN_BIN / "fakesetup.exe").exists() else b""
INSTALLER_SHA = hashlib.sha256(INSTALLER).hexdigest()
INVALID = "升级信息无效，未下载任何文件"
MISMATCH = "安装程序校验不符，已删除下载的文件"
WRONG_SHA = "0" * 64


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def leftovers(folder):
    """What a transfer or a hand-over may have left in a program folder."""
    return sorted(p.name for p in Path(folder).iterdir()
                  if p.suffix in (".tmp", ".cmd") or p.name.startswith(("setup", "installer-")))


class Updater:
    """One running torvaneupdate.exe and what a user can see of it."""

    def __init__(self, session, folder, arguments, cwd=None):
        self.session = session
        # An updater an earlier test left ending shares the session: this
        # one's window is the one that was not there before.
        before = {w["hwnd"] for w in session.windows(cls=UPDATER_WINDOW, all_windows=True)}
        self.proc = session.start(folder / "torvaneupdate.exe", arguments, cwd=cwd)
        new = session.wait_until(
            lambda: [w for w in session.windows(cls=UPDATER_WINDOW) if w["hwnd"] not in before], timeout=30)
        if not new:
            raise AssertionError(f"no new visible window of class {UPDATER_WINDOW}")
        self.hwnd = new[0]["hwnd"]

    def elements(self):
        return self.session.elements(self.hwnd)

    def text(self, name):
        return self.elements()[name]["text"]

    def click(self, name):
        element = self.elements()[name]
        if not element["visible"]:
            raise AssertionError(f"{name} cannot be clicked: {element}")
        self.session.click(*center(element["rect"]))

    def wait_progress(self, above=0.0):
        """The percentage once it has passed `above`."""
        def moved():
            text = self.text("Label3")
            return text.endswith("%") and float(text[:-1]) > above and text
        return self.session.wait_until(moved, timeout=30)

    def wait_ended(self, timeout=30):
        """Waits until the program has ended. Its exit code is not looked at:
        under load Wine may reap a program that ends itself with a signal."""
        self.proc.wait(timeout=timeout)


class UpdaterTest(SessionTest):
    screen = (800, 600)
    serves = True
    served = {"/tg/setup.exe": INSTALLER}

    def setUp(self):
        self.server.set_fault("/tg/setup.exe", None)

    def tearDown(self):
        # Whatever a test started and did not see end must not meet the next one.
        for proc in self.session.started:
            self.session.stop(proc)

    def folder(self, name="setup.exe", url=None, sha=None, stand_ins=True):
        """A program folder whose signed version.ini offers `name` at `url`;
        with `stand_ins` the calendar and launcher are sleepers that only wait."""
        folder = self.session.program_folder(settings=f"[server]\nupdate={self.server.base}\n")
        lines = ["[Version]", "Version=2.1", f"DownUrl={url or self.server.base + '/tg/setup.exe'}",
                 f"DownName={name}", f"Sha256={sha or INSTALLER_SHA}"]
        (folder / "version.ini").write_bytes(signed_text(("\r\n".join(lines) + "\r\n").encode("gbk")))
        shutil.copy2(WIN_BIN / "sleeper.exe", folder / "torvo.exe")
        if stand_ins:
            shutil.copy2(WIN_BIN / "sleeper.exe", folder / "torvane.exe")
        return folder

    def start_suite(self, folder):
        return self.session.start(folder / "torvo.exe")

    def version_entry(self, folder):
        return "[version]" in (folder / "set.ini").read_bytes().decode("gbk").lower()

    def test_upgrade_hands_over_to_the_installer_and_records_the_version(self):
        self.server.set_fault("/tg/setup.exe", "slow", bytes_per_second=len(INSTALLER) // 3)
        folder = self.folder(stand_ins=False)
        calendar = CalendarApp(self.session, folder)
        launcher = self.start_suite(folder)
        # Started from another folder: the hand-over still runs in the program folder.
        updater = Updater(self.session, folder, "2.1###shengji###", cwd=self.session.dir)
        offer = "检测到当前最新版为：2.1版，是否立即升级"
        self.assertTrue(self.session.wait_until(lambda: updater.text("Label1") == offer), updater.text("Label1"))
        updater.click("Image8")
        first = updater.wait_progress()
        later = updater.wait_progress(above=float(first[:-1]))
        self.assertTrue(first and later, (first, later))
        self.assertTrue(updater.elements()["s"]["visible"])
        self.session.screenshot("updater-downloading")
        updater.wait_ended()
        for proc in (calendar.proc, launcher):
            self.assertIsNotNone(self.session.wait_until(lambda p=proc: p.poll() is not None), proc.args)
        ran = self.session.wait_until(lambda: (folder / "installer-ran.txt").exists(), timeout=20)
        self.assertTrue(ran)
        record = (folder / "installer-ran.txt").read_text(encoding="utf-8").splitlines()
        self.assertEqual(record, ["args=/S /D=" + windows_path(folder), "cwd=" + windows_path(folder)])
        script = f'start /wait  "" "setup.exe" /S /D={windows_path(folder)}\r\ndel  "setup.exe.cmd"\r\n'
        self.assertEqual((folder / "installer-script.cmd").read_bytes(), script.encode("gbk"))
        # The script deletes itself once the installer has ended.
        self.assertTrue(self.session.wait_until(lambda: not (folder / "setup.exe.cmd").exists()))
        self.assertEqual((folder / "setup.exe").read_bytes(), INSTALLER)
        self.assertIn("[Version]\r\nVersion=2.1\r\n", (folder / "set.ini").read_bytes().decode("gbk"))

    def test_the_newest_version_says_so_and_its_button_does_nothing(self):
        folder = self.folder()
        updater = Updater(self.session, folder, "2.0###wu###")
        # The element windows follow the window's first showing.
        says = "您当前使用的已经是最新版，版本2.0，无需升级"
        self.assertTrue(self.session.wait_until(lambda: updater.text("Label4") == says), updater.text("Label4"))
        self.assertFalse(updater.elements()["Label1"]["visible"])
        # In the middle of the screen (a task bar may take some of its height).
        window = [w for w in self.session.windows(cls=UPDATER_WINDOW) if w["hwnd"] == updater.hwnd]
        left, top, right, bottom = window[0]["rect"]
        self.assertLessEqual(abs((left + right) - self.screen[0]), 2, (left, right))
        self.assertLessEqual(abs((top + bottom) - self.screen[1]), 80, (top, bottom))
        before = len(self.server.requests())
        updater.click("Image8")
        idle = lambda: updater.proc.poll() is None and len(self.server.requests()) == before
        self.assertTrue(self.session.holds(idle, seconds=2))
        self.assertFalse(updater.elements()["s"]["visible"])
        updater.click("I1")
        updater.wait_ended()

    def test_cancel_closes_the_window_and_leaves_everything_as_it_was(self):
        self.server.set_fault("/tg/setup.exe", "slow", bytes_per_second=len(INSTALLER) // 20)
        folder = self.folder(stand_ins=False)
        calendar = CalendarApp(self.session, folder)
        updater = Updater(self.session, folder, "2.1###shengji###")
        updater.click("Image8")
        updater.wait_progress()
        updater.click("Label2")
        updater.wait_ended(timeout=30)
        self.assertIsNone(calendar.proc.poll())
        self.assertEqual(leftovers(folder), [])
        self.assertFalse(self.version_entry(folder))
        self.session.stop(calendar.proc)

    def test_cancel_closes_the_window_also_when_the_server_never_answers(self):
        self.server.set_fault("/tg/setup.exe", "hang")
        folder = self.folder()
        updater = Updater(self.session, folder, "2.1###shengji###")
        updater.click("Image8")
        self.assertTrue(self.session.wait_until(
            lambda: "/tg/setup.exe" in self.server.requests()[-1:]))
        updater.click("Label2")
        updater.wait_ended(timeout=20)
        self.assertEqual(leftovers(folder), [])
        self.assertFalse(self.version_entry(folder))

    def test_a_second_start_ends_at_once(self):
        folder = self.folder()
        first = Updater(self.session, folder, "2.1###shengji###")
        second = self.session.start(folder / "torvaneupdate.exe", "2.1###shengji###")
        second.wait(timeout=20)
        self.assertEqual(len(self.session.windows(cls=UPDATER_WINDOW)), 1)
        self.assertIsNone(first.proc.poll())
        first.click("I1")
        first.wait_ended()

    def test_without_arguments_it_opens_the_promotional_page_and_ends(self):
        folder = self.folder()
        self.session.run(folder / "torvaneupdate.exe")
        self.assertTrue(self.session.wait_until(
            lambda: f"{self.server.base}/tg/" in self.session.browser_log()), self.session.browser_log())

    def test_hostile_or_broken_update_information_runs_nothing(self):
        base = self.server.base
        cases = [
            # name, address, fault of the served file, SHA-256, what the window says
            ("a.exe & calc.exe", f"{base}/tg/a.exe & calc.exe", None, None, INVALID),
            ("..\\x.exe", f"{base}/tg/x.exe", None, None, INVALID),
            ("other.exe", f"{base}/tg/setup.exe", None, None, INVALID),
            ("setup.exe", None, "404", None, None),
            ("setup.exe", None, "500", None, None),
            ("setup.exe", None, "cut", None, None),
            ("setup.exe", None, None, WRONG_SHA, MISMATCH),
        ]
        for name, url, fault, sha, says in cases:
            with self.subTest(name=name, fault=fault, sha=sha):
                self.server.set_fault("/tg/setup.exe", fault)
                folder = self.folder(name, url, sha)
                suite = [self.start_suite(folder), self.session.start(folder / "torvane.exe")]
                fetched = len([r for r in self.server.requests() if r.startswith("/tg/")])
                updater = Updater(self.session, folder, "2.1###shengji###")
                updater.click("Image8")
                if says:
                    self.assertEqual(self.session.wait_until(lambda: updater.text("Message") == says),
                                     True, updater.elements()["Message"])
                    updater.click("I1")
                updater.wait_ended()
                requested = len([r for r in self.server.requests() if r.startswith("/tg/")]) - fetched
                self.assertEqual(requested, 0 if says == INVALID else 1)
                self.assertEqual(leftovers(folder), [])
                self.assertFalse(self.version_entry(folder))
                self.assertEqual([p.poll() for p in suite], [None, None])
                for proc in suite:
                    self.session.stop(proc)


class EngineTest(unittest.TestCase):
    """Both engines as background jobs (fetch.exe), against the fault modes:
    only a whole 2xx body replaces the file, nothing half-written stays."""

    @classmethod
    def setUpClass(cls):
        cls.session = Session(640, 480)
        cls.server = StandinServer().start()
        cls.body = bytes(range(256)) * 600
        cls.server.put_file("/file.bin", cls.body)
        cls.folder = cls.session.program_folder(files=("fetch.exe",))

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        cls.session.close()

    def setUp(self):
        self.server.set_fault("/file.bin", None)

    def fetch(self, engine, target, *extra):
        """The lines fetch.exe printed; its exit code is not looked at (see
        Updater.wait_ended)."""
        before = set(self.session.dir.glob("fetch-*.log"))
        self.session.run(self.folder / "fetch.exe", engine, self.server.base + "/file.bin",
                              windows_path(target), *extra, timeout=120)
        log = (set(self.session.dir.glob("fetch-*.log")) - before).pop()
        lines = log.read_text(encoding="utf-8", errors="replace").splitlines()
        return [line for line in lines if line.startswith(("progress", "outcome", "again"))]

    def test_only_a_whole_success_replaces_the_file(self):
        cases = [
            (None, [], "Done"),
            (None, ["--abort-before", "1"], "Done"),  # an abort with nothing running is no abort
            ("huge", [], "Done"),
            ("404", [], "Failed"),
            ("500", [], "Failed"),
            ("nolength", [], "Failed"),
            ("cut", [], "Cut"),
            ("slow", ["--abort-after", "2"], "Aborted"),
        ]
        for engine in ("zeq", "moniker"):
            for fault, extra, outcome in cases:
                with self.subTest(engine=engine, fault=fault):
                    self.server.set_fault("/file.bin", fault, bytes_per_second=len(self.body) // 4)
                    target = self.folder / f"{engine}-{fault}-{len(extra)}.bin"
                    target.write_bytes(b"the previous file")
                    lines = self.fetch(engine, target, *extra)
                    self.assertEqual(lines[-1], "outcome " + outcome, lines)
                    expected = {None: self.body, "huge": None}.get(fault, b"the previous file")
                    if fault == "huge":
                        self.assertEqual(target.stat().st_size, 5 * 1024 * 1024)
                    else:
                        self.assertEqual(target.read_bytes(), expected)
                    self.assertEqual([p.name for p in self.folder.glob("*.tmp")], [])
                    progress = [line for line in lines if line.startswith("progress")]
                    self.assertTrue(all(line.endswith(" on the window thread") for line in progress), lines)

    def test_a_second_start_during_a_transfer_is_refused(self):
        self.server.set_fault("/file.bin", "slow", bytes_per_second=len(self.body) // 2)
        target = self.folder / "again.bin"
        lines = self.fetch("moniker", target, "--again", "1")
        self.assertIn("again Refused", lines)
        self.assertEqual(lines[-1], "outcome Done")
        self.assertEqual(target.read_bytes(), self.body)

    def test_a_file_whose_digest_differs_is_not_kept(self):
        target = self.folder / "digest.bin"
        target.write_bytes(b"the previous file")
        lines = self.fetch("moniker", target, "--sha", WRONG_SHA)
        self.assertEqual(lines[-1], "outcome Mismatch", lines)
        self.assertEqual(target.read_bytes(), b"the previous file")
        self.assertEqual([p.name for p in self.folder.glob("*.tmp")], [])


if __name__ == "__main__":
    unittest.main()
