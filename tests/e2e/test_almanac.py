"""The chosen day's almanac under Wine: the panel's top band shows it for the
day the user picks, as the native almanac command computes it, follows the
keys, and offers its whole text on hover, at 96 and 144 dpi."""
import datetime
import subprocess
import unittest

from calendar_app import CalendarApp, center
from harness import BUILD, SessionTest
from test_tooltips import TOOLTIP_CLASS, go_to

COMMAND = BUILD / "native" / "bin" / "almanac"
FIELDS = ("date", "year_pillar", "month_pillar", "day_pillar", "officer", "deity", "huangdao",
          "chong", "sha", "pengzu", "yi", "ji")


def reference(day):
    """The native command's fields for one day."""
    iso = day.isoformat()
    out = subprocess.run([str(COMMAND), iso, iso], check=True, capture_output=True, text=True,
                         timeout=60).stdout.splitlines()
    return dict(zip(FIELDS, out[1].split("\t")))


class AlmanacTest(SessionTest):
    screen = (1280, 800)
    # 立春 2026: the year pillar turns on this day.
    day = datetime.date(2026, 2, 4)

    def start(self):
        app = CalendarApp(self.session)
        self.addCleanup(self.session.stop, app.proc)
        return app

    def assert_shows(self, app, day):
        want = reference(day)
        text = self.session.wait_until(
            lambda: (t := app.element("Almanac")["text"]) and want["yi"] in t and t, timeout=10)
        self.assertTrue(text, app.element("Almanac"))
        lines = text.split("\r\n")
        for field in ("year_pillar", "month_pillar", "day_pillar", "officer", "deity", "huangdao"):
            self.assertIn(want[field], lines[0], field)
        self.assertEqual(lines[1], "宜：" + want["yi"])
        self.assertEqual(lines[2], "忌：" + want["ji"])
        self.assertIn(want["chong"], lines[3])
        self.assertIn(want["sha"], lines[3])
        self.assertIn(want["pengzu"], lines[4])
        return text

    def cut_tip(self, app):
        names = {element["id"]: name for name, element in app.elements().items()}
        tips = {names.get(tool["uId"]): tool["text"] for tool in self.session.tooltips(app.hwnd)[1]}
        return tips.get("Almanac")

    def hover(self, app, rect):
        """Rests the pointer on `rect`, coming from the grid as a user would;
        the tip windows it brought up."""
        left, top, _, _ = app.rect()
        x, y = center(rect)
        self.session.xdotool("mousemove", left + 20, top + 20)
        for dx in (0, 1, 2):
            self.session.xdotool("mousemove", x + dx, y)
        return self.session.wait_until(
            lambda: [w for w in self.session.windows(cls=TOOLTIP_CLASS) if w["owner"] == app.hwnd], timeout=3)

    def test_the_chosen_day_shows_its_almanac_and_offers_its_whole_text(self):
        self.assertTrue(COMMAND.exists(), f"{COMMAND} is built by the native tree")
        app = self.start()
        go_to(self.session, app, self.day)
        whole = self.assert_shows(app, self.day)
        element = app.element("Almanac")
        self.assertTrue(element["visible"])
        # Two lines show; the rest is in the tip of the cut label.
        self.assertTrue(self.session.wait_until(lambda: self.cut_tip(app) == whole, timeout=10), self.cut_tip(app))
        self.session.screenshot(f"almanac-panel-{self.session.dpi}")

        # The day before 立春 still belongs to the old year; the keys move the almanac along.
        before = self.day - datetime.timedelta(days=1)
        self.session.key("Left")
        self.assertNotEqual(reference(before)["year_pillar"], reference(self.day)["year_pillar"])
        self.assert_shows(app, before)


    def test_resting_the_pointer_on_it_shows_the_whole_almanac(self):
        app = self.start()
        day = datetime.date(2026, 12, 9)
        go_to(self.session, app, day)
        whole = self.assert_shows(app, day)
        rect = app.element("Almanac")["rect"]
        shown = self.session.wait_until(lambda: self.hover(app, rect), timeout=20, step=0.5)
        self.session.screenshot(f"almanac-tip-{self.session.dpi}")
        self.assertTrue(shown, "no tip appeared over the almanac")
        self.assertEqual(shown[0]["text"], whole)


class AlmanacAt144Test(AlmanacTest):
    dpi = 144


if __name__ == "__main__":
    unittest.main()
