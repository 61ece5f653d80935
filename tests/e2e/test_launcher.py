"""torvo.exe: starts the calendar once the probe address answers, then waits.

The probe address is always on 127.0.0.1: a closed port stands for a machine
offline (refused at once), a local HTTP server for one online.
"""
import http.server
import shutil
import threading
import unittest

from harness import WIN_BIN, Session, free_port

CALENDAR_WINDOW = "TorvaneMain"
LAUNCHER_WINDOW = "TorvaneLauncher"


class ProbeTarget:
    """A local HTTP server the launcher's connectivity probe can reach;
    `connected` is set by the first connection."""

    def __enter__(self):
        connected = self.connected = threading.Event()

        class Handler(http.server.SimpleHTTPRequestHandler):
            def setup(self):
                connected.set()
                super().setup()

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        return self

    @property
    def address(self):
        return f"http://127.0.0.1:{self.server.server_address[1]}/"

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()


def probe_settings(address):
    return f"[server]\nprobe={address}\n"


class LauncherCase(unittest.TestCase):
    """A fresh session for every test: the launcher allows one copy per session."""

    def setUp(self):
        self.session = Session(1024, 768)
        self.addCleanup(self.session.close)

    def count(self, name):
        return self.session.processes().count(name)

    def assert_running(self, name, n):
        """A process list read right after a window appears may not show its
        process yet: wait for the count, and say what ran when it never came."""
        self.assertTrue(self.session.wait_until(lambda: self.count(name) == n),
                        f"{name}: {self.count(name)} running, expected {n}")

    def assert_hidden_launcher_window(self):
        windows = self.session.windows(cls=LAUNCHER_WINDOW, all_windows=True)
        self.assertEqual([(w["text"], w["visible"]) for w in windows], [("Form1", 0)])


class OfflineTest(LauncherCase):
    def test_ends_without_starting_the_calendar(self):
        s = self.session
        closed = f"http://127.0.0.1:{free_port()}/"
        folder = s.program_folder(settings=probe_settings(closed))
        self.assertEqual(s.run(folder / "torvo.exe"), 0)
        self.assert_running("torvo.exe", 0)
        self.assert_running("torvane.exe", 0)
        self.assertEqual(s.windows(cls=CALENDAR_WINDOW, all_windows=True), [])

    def test_a_probe_address_that_is_no_address_counts_as_offline(self):
        s = self.session
        folder = s.program_folder(settings=probe_settings("不是地址 ::: %%"))
        self.assertEqual(s.run(folder / "torvo.exe"), 0)
        self.assert_running("torvane.exe", 0)


class OnlineTest(LauncherCase):
    def test_starts_the_calendar_stays_hidden_and_runs_once(self):
        s = self.session
        with ProbeTarget() as probe:
            folder = s.program_folder(settings=probe_settings(probe.address))
            launcher = s.start(folder / "torvo.exe")
            s.wait_window(CALENDAR_WINDOW)
            self.assert_running("torvane.exe", 1)
            self.assertIsNone(launcher.poll(), "the launcher keeps running")
            self.assert_running("torvo.exe", 1)
            self.assert_hidden_launcher_window()

            # A second copy ends at once and starts nothing.
            self.assertEqual(s.run(folder / "torvo.exe"), 0)
            self.assert_running("torvo.exe", 1)
            self.assert_running("torvane.exe", 1)
            self.assertEqual(len(s.windows(cls=CALENDAR_WINDOW)), 1)
        s.screenshot("launcher-online")

    def test_passes_qidong_to_the_calendar_in_the_program_folder(self):
        # A stand-in calendar that records its command line.
        s = self.session
        with ProbeTarget() as probe:
            folder = s.program_folder(settings=probe_settings(probe.address),
                                      files=("torvo.exe", "set.ini"))
            shutil.copy2(WIN_BIN / "sleeper.exe", folder / "torvane.exe")
            s.start(folder / "torvo.exe")
            record = folder / "torvane.exe.cmdline"
            self.assertTrue(s.wait_until(lambda: record.exists() and record.stat().st_size))
        calendar = "Z:" + str(folder / "torvane.exe").replace("/", "\\")
        self.assertEqual(record.read_bytes().decode("utf-16-le"), f'"{calendar}" qidong')

    def test_the_calendar_works_in_the_program_folder_wherever_the_launcher_started(self):
        # A stand-in calendar that records its arguments and working folder.
        s = self.session
        with ProbeTarget() as probe:
            folder = s.program_folder(settings=probe_settings(probe.address), files=("torvo.exe", "set.ini"))
            shutil.copy2(WIN_BIN / "fakesetup.exe", folder / "torvane.exe")
            # At logon the launcher starts in some other folder.
            s.start(folder / "torvo.exe", cwd=s.dir)
            record = folder / "installer-ran.txt"
            self.assertTrue(s.wait_until(lambda: record.exists() and record.stat().st_size))
        program_folder = "Z:" + str(folder).replace("/", "\\")
        self.assertEqual(record.read_text(encoding="utf-8").splitlines(), ["args=qidong", f"cwd={program_folder}"])

    def test_without_the_calendar_stays_and_shows_nothing(self):
        s = self.session
        with ProbeTarget() as probe:
            folder = s.program_folder(settings=probe_settings(probe.address), files=("torvo.exe", "set.ini"))
            before = s.screenshot("launcher-no-calendar-before")
            launcher = s.start(folder / "torvo.exe")
            self.assertTrue(probe.connected.wait(30), "the launcher never probed")
            # Give a launcher that wrongly ends after the probe the chance to.
            self.assertFalse(s.wait_until(lambda: launcher.poll() is not None, timeout=3))
            self.assert_hidden_launcher_window()
            self.assert_running("torvane.exe", 0)
            after = s.screenshot("launcher-no-calendar-after")
            self.assertEqual(before.data, after.data)


if __name__ == "__main__":
    unittest.main()
