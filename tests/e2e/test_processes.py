"""Ending the suite's programs by name: EndProcessesByName and halter.exe.

Every case has its own session: ending by name reaches every process of the
prefix, so cases must never share one.
"""
import shutil
import unittest

from harness import WIN_BIN, Session
from test_launcher import ProbeTarget, probe_settings

CALENDAR_WINDOW = "TorvaneMain"
# endproc.exe exits with this when EndProcessesByName returned to it.
RETURNED = 3
SUITE = ("torvo.exe", "torvane.exe", "torvaneupdate.exe")


def wine_path(path):
    return "Z:" + str(path).replace("/", "\\")


def copy_fixture(fixture, folder, name):
    shutil.copy2(WIN_BIN / fixture, folder / name)
    return folder / name


class SessionCase(unittest.TestCase):
    """A fresh session for every test."""

    def setUp(self):
        self.session = Session(1024, 768)
        self.addCleanup(self.session.close)

    def count(self, name):
        return self.session.processes().count(name)

    def wait_for_count(self, name, n):
        # A calendar's start under a loaded machine can take most of a minute.
        self.assertTrue(self.session.wait_until(lambda: self.count(name) == n, timeout=90),
                        f"{name}: {self.count(name)} running, expected {n}")


class EndProcessesByNameTest(SessionCase):
    def test_name_must_match_whole_but_not_its_case(self):
        s = self.session
        folder = s.program_folder()
        s.start(folder / "torvane.exe", "qidong")
        s.wait_window(CALENDAR_WINDOW)
        endproc = WIN_BIN / "endproc.exe"

        for near_miss in ("torvane", "torvane.ex", "orvane.exe", "torvane.exe "):
            self.assertEqual(s.run(endproc, near_miss), RETURNED)
            self.assertEqual(self.count("torvane.exe"), 1, near_miss)

        self.assertEqual(s.run(endproc, "TORVANE.EXE"), RETURNED)
        self.wait_for_count("torvane.exe", 0)
        self.assertEqual(s.windows(cls=CALENDAR_WINDOW, all_windows=True), [])

    def test_processes_are_ended_with_exit_code_zero_and_others_left_alone(self):
        s = self.session
        folder = s.program_folder(files=())
        # Chinese letters in the name, and case folded only where it exists.
        victim = copy_fixture("sleeper.exe", folder, "Victim日历.exe")
        victims = [s.start(victim) for _ in range(2)]
        bystander = s.start(copy_fixture("sleeper.exe", folder, "bystander.exe"))
        self.wait_for_count("victim日历.exe", 2)
        self.wait_for_count("bystander.exe", 1)

        self.assertEqual(s.run(WIN_BIN / "endproc.exe", "VICTIM日历.EXE"), RETURNED)
        self.assertEqual([v.wait(timeout=30) for v in victims], [0, 0])
        self.assertIsNone(bystander.poll())
        self.assertEqual(self.count("bystander.exe"), 1)

    def test_caller_ending_its_own_name_ends_every_copy(self):
        # The caller is started first, so it stands before the other copies
        # in the process list: ending itself at its own place would leave
        # them running.
        s = self.session
        caller_folder = s.program_folder(files=())
        others_folder = s.program_folder(files=())
        caller_exe = copy_fixture("endproc.exe", caller_folder, "twin.exe")
        other_exe = copy_fixture("sleeper.exe", others_folder, "twin.exe")
        pid_file, go_file = s.dir / "caller.pid", s.dir / "go"

        caller = s.start(caller_exe, "--pid-file", wine_path(pid_file),
                         "--wait-for", wine_path(go_file), "twin.exe")
        self.assertTrue(s.wait_until(lambda: pid_file.exists() and pid_file.read_text()))
        caller_pid = int(pid_file.read_text())
        others = [s.start(other_exe) for _ in range(2)]
        self.wait_for_count("twin.exe", 3)
        twins = [p["pid"] for p in s.probe("procs") if p["name"].lower() == "twin.exe"]
        self.assertEqual(twins[0], caller_pid, "the caller must come first in the list")

        go_file.touch()
        self.assertEqual(caller.wait(timeout=60), 0, "the caller must end itself, code 0")
        self.wait_for_count("twin.exe", 0)
        self.assertEqual([p.wait(timeout=30) for p in others], [0, 0])


class HalterTest(SessionCase):
    def test_ends_the_launcher_both_calendars_and_the_updater(self):
        s = self.session
        with ProbeTarget() as probe:
            folder = s.program_folder(settings=probe_settings(probe.address))
            updater_exe = copy_fixture("sleeper.exe", folder, "torvaneupdate.exe")
            launcher = s.start(folder / "torvo.exe")   # starts the first calendar
            s.wait_window(CALENDAR_WINDOW)
            second = s.start(folder / "torvane.exe", "qidong")
            updater = s.start(updater_exe)
            bystander = s.start(copy_fixture("sleeper.exe", folder, "xtorvane.exe"))
            self.wait_for_count("torvane.exe", 2)
            self.wait_for_count("torvaneupdate.exe", 1)
            self.assertEqual(self.count("torvo.exe"), 1)

            self.assertEqual(s.run(folder / "halter.exe"), 0)

        for proc in (launcher, second, updater):
            self.assertEqual(proc.wait(timeout=30), 0)
        running = s.processes()
        for name in SUITE + ("halter.exe",):
            self.assertNotIn(name, running)
        self.assertEqual(s.windows(cls=CALENDAR_WINDOW, all_windows=True), [])
        self.assertIsNone(bystander.poll())
        s.screenshot("halter-after-ending")

    def test_with_nothing_to_end_exits_without_a_window(self):
        s = self.session
        folder = s.program_folder()
        before = s.screenshot("halter-before")
        self.assertEqual(s.run(folder / "halter.exe"), 0)
        self.assertNotIn("halter.exe", s.processes())
        self.assertEqual(s.windows(cls="TorvaneHalter"), [])
        after = s.screenshot("halter-after")
        self.assertEqual(before.data, after.data)


if __name__ == "__main__":
    unittest.main()
