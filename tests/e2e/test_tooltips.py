"""The calendar's button tips: each navigation button names what it does."""
import time
import unittest

from calendar_app import CalendarApp, center, height, width
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


if __name__ == "__main__":
    unittest.main()
