"""The statutory days off under Wine: October 2025 with its marks, and the
update of holidays.txt from the stand-in server, a broken file changing
nothing."""
import datetime
import unittest

from calendar_app import WIDE_TWIPS, CalendarApp, heading, px
from harness import SessionTest, StandinServer
from test_install import CURRENT, package
from sign_release import sign  # tools/, on the path through the harness

SERVER_PATH = "/tg/holidays.txt"


def serve(server, text):
    """The days-off file and its signature by the build's test release key."""
    server.put_file(SERVER_PATH, text)
    server.put_file(SERVER_PATH + ".sig", (sign(text) + "\n").encode("ascii"))
REST_RED = lambda p: p[0] > 200 and p[1] < 70 and p[2] < 70
WORK_SLATE = lambda p: abs(p[0] - 71) < 25 and abs(p[1] - 85) < 25 and abs(p[2] - 105) < 25


def months_before(day, year, month):
    return (day.year * 12 + day.month) - (year * 12 + month)


def marks(shot, app, day):
    """Pixels of the red 休 and the slate 班 mark in the top right quarter of a
    day's cell."""
    left, top, right, bottom = app.day_rect(day)
    box = (int((left + right) / 2), int(top), int(right) - 1, int(top + 0.4 * (bottom - top)))
    return shot.count(box, REST_RED), shot.count(box, WORK_SLATE)


class DaysOffTest(SessionTest):
    screen = (1280, 800)

    def go_to(self, app, year, month):
        """Opens the panel, then pages to the 1st of the month with Page Up/Down."""
        self.session.click(*app.cell_center(2, 3))
        self.assertTrue(app.wait_width(px(WIDE_TWIPS)))
        steps = months_before(datetime.date.today(), year, month)
        self.session.key(*(["Prior"] * steps if steps > 0 else ["Next"] * -steps))
        want = heading(datetime.date(year, month, 1))
        self.assertTrue(self.session.wait_until(lambda: app.panel_heading() == want), app.panel_heading())

    def test_october_2025_shows_the_national_day_week_and_its_workdays(self):
        app = CalendarApp(self.session)
        self.addCleanup(self.session.stop, app.proc)
        self.go_to(app, 2025, 10)
        self.assertEqual(app.element("L(4)")["text"], "公历节日：国庆节 \r\n")
        self.assertEqual(app.element("DayOff")["text"], "休息日（国庆节）")
        shot = self.session.screenshot_until(
            "days-off-october-2025", lambda shot: marks(shot, app, datetime.date(2025, 10, 1))[0] > 40)
        for day in range(1, 13):
            with self.subTest(day=day):
                rest, work = marks(shot, app, datetime.date(2025, 10, day))
                if day <= 8:
                    self.assertGreater(rest, 40)
                    self.assertEqual(work, 0)
                elif day == 11:
                    self.assertGreater(work, 40)
                    self.assertEqual(rest, 0)
                else:  # workdays and the plain Sunday 10-12 carry no mark
                    self.assertEqual((rest, work), (0, 0))

        self.session.key("Prior")
        self.assertTrue(self.session.wait_until(
            lambda: app.panel_heading() == heading(datetime.date(2025, 9, 1))))
        shot = self.session.screenshot_until(
            "days-off-september-2025", lambda shot: marks(shot, app, datetime.date(2025, 9, 28))[1] > 40)
        self.assertGreater(marks(shot, app, datetime.date(2025, 9, 28))[1], 40)
        self.assertEqual(marks(shot, app, datetime.date(2025, 9, 27)), (0, 0))

    def test_a_newer_file_from_the_server_is_kept_and_shown_a_broken_one_changes_nothing(self):
        server = StandinServer().start()
        self.addCleanup(server.stop)
        folder = self.session.program_folder(settings=f"[server]\nupdate={server.base}\n")
        shipped = (folder / "holidays.txt").read_bytes()
        today = datetime.date.today()
        # At least as many years as the shipped file: a shorter one is refused.
        # Longer than one read of a file (64 KiB): all of it counts.
        padding = (b"#" + b"-" * 70 + b"\n") * 1000
        newer = (f"published {today.year + 1}-01-01\nyears 1900 {today.year}\n".encode("utf-8") + padding +
                 f"{today.isoformat()} 休 测试假日\n".encode("utf-8"))
        today_line = lambda app: app.element("DayOff")["text"]

        # Published later, but one date lies outside its years: nothing is taken.
        serve(server, newer + f"{today.year + 1}-01-02 休 元旦\n".encode("utf-8"))
        app = CalendarApp(self.session, folder)
        self.assertTrue(self.session.wait_until(lambda: SERVER_PATH in server.served(), timeout=30))
        # Refused: nothing shows up, now or a while after the answer came.
        unchanged = lambda: (folder / "holidays.txt").read_bytes() == shipped and "测试假日" not in today_line(app)
        self.assertTrue(self.session.holds(unchanged, seconds=3))
        self.assertTrue(self.session.wait_until(lambda: not (folder / "holidays.download").exists()))
        self.session.stop(app.proc)

        serve(server, newer)
        server.set_fault(SERVER_PATH, "nolength")  # as a CDN may send it: signed, so taken
        app = CalendarApp(self.session, folder)
        self.addCleanup(self.session.stop, app.proc)
        self.assertTrue(self.session.wait_until(lambda: today_line(app) == "休息日（测试假日）"),
                        today_line(app))
        self.assertEqual((folder / "holidays.txt").read_bytes(), newer)
        self.assertFalse((folder / "holidays.download").exists())
        # The grid shows it too: today's cell now carries the 休 mark.
        shot = self.session.screenshot_until("days-off-updated", lambda shot: marks(shot, app, today)[0] > 40)
        self.assertGreater(marks(shot, app, today)[0], 40)


class DaysOffUpgradeTest(SessionTest):
    screen = (1024, 768)

    def test_installing_again_keeps_a_newer_downloaded_file(self):
        folder = self.session.dir / "installed"
        target = "/D=Z:" + str(folder).replace("/", "\\")  # no spaces: NSIS takes /D= unquoted
        self.assertEqual(self.session.run(package(CURRENT), "/S", "/NORUN", target, timeout=120), 0)
        shipped = (folder / "holidays.txt").read_bytes()
        downloaded = shipped.replace(b"published ", b"published 2999-01-01\n# was ", 1)
        self.assertNotEqual(downloaded, shipped)
        (folder / "holidays.txt").write_bytes(downloaded)

        self.assertEqual(self.session.run(package(CURRENT), "/S", "/NORUN", target, timeout=120), 0)
        self.assertEqual((folder / "holidays.txt").read_bytes(), downloaded)
        self.assertTrue((folder / "torvane.exe").exists())
        self.session.run(folder / "uninst.exe", "/S", "_?=" + target[3:], timeout=120)


if __name__ == "__main__":
    unittest.main()
