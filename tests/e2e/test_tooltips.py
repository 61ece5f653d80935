"""The calendar's tips: each navigation button names what it does, and a
label drawn cut shows its whole text; the day off has a line of its own."""
import datetime
import time
import unittest

from calendar_app import WIDE_TWIPS, CalendarApp, center, heading, height, px, width
from harness import SessionTest

TIPS = {
    "Image2(0)": "上一年",
    "Image2(1)": "上个月",
    "Image2(2)": "下个月",
    "Image2(3)": "下一年",
    "Image2(4)": "今天",
}
TOOLTIP_CLASS = "tooltips_class32"


class TooltipTest(SessionTest):
    screen = (1280, 800)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.app = CalendarApp(cls.session)

    def test_each_button_has_its_tip_over_its_own_rectangle(self):
        # The tips are made once the window is shown: wait for them.
        self.session.wait_until(lambda: self.session.tooltips(self.app.hwnd)[1], timeout=30)
        windows, tools = self.session.tooltips(self.app.hwnd)
        self.assertEqual(len(windows), 1, "one tooltip window owned by the calendar window")
        elements = self.app.elements()
        for name, tip in TIPS.items():
            with self.subTest(name):
                found = [tool for tool in tools if tool["text"] == tip]
                self.assertEqual(len(found), 1, [tool["text"] for tool in tools])
                tool, element = found[0], elements[name]
                self.assertTrue(element["visible"] and width(element["rect"]) > 0 and height(element["rect"]) > 0,
                                element)
                self.assertEqual(tool["hwnd"], self.app.hwnd)
                self.assertEqual(tool["uId"], element["id"])
                self.assertEqual(tool["screen"], element["rect"])
                self.assertEqual(element["text"], tip, "the button's window carries its tip")

    def test_resting_the_pointer_on_today_shows_its_tip(self):
        left, top, _, _ = self.app.rect()
        # The pointer comes from inside the window, as a user's would.
        self.session.xdotool("mousemove", left + 20, top + 20)
        self.session.wait_pointer(left + 20, top + 20)
        self.session.xdotool("mousemove", *center(self.app.element("Image2(4)")["rect"]))
        shown = self.session.wait_until(
            lambda: [w for w in self.session.windows(cls=TOOLTIP_CLASS) if w["owner"] == self.app.hwnd],
            timeout=30)
        self.session.screenshot("calendar-tip-today")
        self.assertTrue(shown, "no tip appeared over 今天")
        self.assertEqual(shown[0]["text"], TIPS["Image2(4)"])


def go_to(session, app, day):
    """Opens the day panel and selects `day` with the keys: the page keys go
    to the 1st of a month, Right walks to the day."""
    session.click(*app.cell_center(2, 3))
    assert app.wait_width(px(WIDE_TWIPS, session.dpi))
    today = datetime.date.today()
    months = (today.year * 12 + today.month) - (day.year * 12 + day.month)
    session.key(*(["Next"] + ["Prior"] * (months + 1) if months >= 0 else ["Next"] * -months))
    first = heading(day.replace(day=1))
    assert session.wait_until(lambda: app.panel_heading() == first), app.panel_heading()
    if day.day > 1:
        session.key(*["Right"] * (day.day - 1))
    assert session.wait_until(lambda: app.panel_heading() == heading(day)), app.panel_heading()


class CutTextTest(SessionTest):
    screen = (1280, 800)

    def start(self):
        app = CalendarApp(self.session)
        self.addCleanup(self.session.stop, app.proc)
        return app

    def cut_tips(self, app):
        """The tips of the labels drawn cut, by element name."""
        names = {element["id"]: name for name, element in app.elements().items()}
        return {names.get(tool["uId"]): tool["text"].rstrip() for tool in self.session.tooltips(app.hwnd)[1]
                if names.get(tool["uId"]) not in TIPS}

    def test_a_cut_label_shows_its_whole_text_on_hover(self):
        app = self.start()
        go_to(self.session, app, datetime.date(2026, 12, 9))
        whole = app.element("Label16")["text"].rstrip()
        self.assertTrue(whole.startswith("世界足球日"), whole)
        self.assertTrue(self.session.wait_until(lambda: self.cut_tips(app).get("Label16") == whole, timeout=10),
                        self.cut_tips(app))
        # Lines that fit offer nothing.
        for name in ("L(0)", "L(2)", "Label1", "Label4"):
            self.assertNotIn(name, self.cut_tips(app))

        left, top, _, _ = app.rect()
        self.session.xdotool("mousemove", left + 20, top + 20)
        self.session.xdotool("mousemove", *center(app.element("Label16")["rect"]))
        shown = self.session.wait_until(
            lambda: [w for w in self.session.windows(cls=TOOLTIP_CLASS) if w["owner"] == app.hwnd], timeout=10)
        self.session.screenshot(f"calendar-cut-tip-{self.session.dpi}")
        self.assertTrue(shown, "no tip appeared over the cut festival line")
        self.assertEqual(shown[0]["text"].rstrip(), whole)
        # A day whose line fits takes the tip away again.
        self.session.key("Right", "Right")
        self.assertTrue(self.session.wait_until(lambda: app.panel_heading() == heading(datetime.date(2026, 12, 11))))
        self.assertTrue(self.session.wait_until(lambda: "Label16" not in self.cut_tips(app), timeout=10),
                        self.cut_tips(app))

    def test_the_day_off_has_a_line_of_its_own_and_is_never_cut(self):
        app = self.start()
        go_to(self.session, app, datetime.date(2024, 4, 28))
        self.assertEqual(app.element("DayOff")["text"], "调休上班（劳动节）")
        self.assertNotIn("调休", app.element("L(4)")["text"])
        # The tips are made once the window is shown: wait for them.
        self.assertTrue(self.session.wait_until(lambda: self.session.tooltips(app.hwnd)[1], timeout=10))
        self.assertNotIn("DayOff", self.cut_tips(app))
        self.session.screenshot(f"calendar-day-off-{self.session.dpi}")


class CutTextAt144Test(CutTextTest):
    dpi = 144


if __name__ == "__main__":
    unittest.main()
