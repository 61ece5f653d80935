"""The calendar on screens of more than 96 dpi: the window grows with the dpi,
stays at the bottom right and on the screen, and its parts grow with it.

One session per dpi, each on a 1920x1080 screen; the screenshots stay in the
build folder (harness.shot_path) to be looked at."""
import unittest

from calendar_app import (BOTTOM_GAP_TWIPS, NARROW_TWIPS, RIGHT_GAP_TWIPS, WIDE_TWIPS,
                          CalendarApp, height, px, width)
from harness import Session

SCREEN = (1920, 1080)
DPIS = (120, 144, 192)
# The grid's share of the window's height may differ from the one at 96 dpi
# by whole-pixel rounding only.
SHARE_TOLERANCE = 0.02
# "Down to near the bottom": what is left under the grid, as a share of the
# client's height.
BOTTOM_MARGIN_SHARE = 0.04


def inside(inner, outer):
    return (outer[0] <= inner[0] and outer[1] <= inner[1]
            and inner[2] <= outer[2] and inner[3] <= outer[3])


def client_on_screen(window):
    left, top = window["rect"][:2]
    return [left, top, left + window["client"][2], top + window["client"][3]]


def grid_share(window, elements):
    return height(elements["picMain"]["rect"]) / height(window["rect"])


def look(app, name):
    """The window and its element windows as they are now, with a screenshot."""
    app.session.screenshot(name)
    return app.window(), app.elements()


class HighDpiTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # At 96 dpi: the grid's share of the window, which every dpi keeps,
        # and the elements the narrow window shows (the closed day panel's lie
        # beyond its edge), which every dpi shows too.
        session = Session(*SCREEN)
        try:
            window, elements = look(CalendarApp(session), "dpi-96-narrow")
        finally:
            session.close()
        cls.grid_share_at_96 = grid_share(window, elements)
        cls.narrow_elements = {name for name, e in elements.items()
                               if e["visible"] and inside(e["rect"], client_on_screen(window))}
        assert {"picMain", "I1", "Label5"} <= cls.narrow_elements, \
            f"the narrow window at 96 dpi shows only {sorted(cls.narrow_elements)}"

    def test_the_window_and_its_parts_grow_with_the_dpi(self):
        for dpi in DPIS:
            with self.subTest(dpi=dpi):
                session = Session(*SCREEN, dpi=dpi)
                try:
                    app = CalendarApp(session)
                    narrow = look(app, f"dpi-{dpi}-narrow")
                    widened = app.widen()
                    wide = look(app, f"dpi-{dpi}-wide")
                finally:
                    session.close()
                self.check_narrow(dpi, *narrow)
                self.assertTrue(widened, f"not {px(WIDE_TWIPS, dpi)} px wide after a click on a day")
                self.check_wide(dpi, *wide)

    def check_narrow(self, dpi, window, elements):
        self.assertEqual(width(window["rect"]), px(NARROW_TWIPS, dpi))
        self.check_on_screen_at_the_bottom_right(dpi, window)
        self.check_elements_inside(window, elements, self.narrow_elements)
        grid, client = elements["picMain"]["rect"], client_on_screen(window)
        self.assertLessEqual(client[3] - grid[3], BOTTOM_MARGIN_SHARE * height(client),
                             f"grid {grid} ends far above the bottom of {client}")
        self.assertAlmostEqual(grid_share(window, elements), self.grid_share_at_96,
                               delta=SHARE_TOLERANCE, msg="the grid grows less or more than the window")

    def check_wide(self, dpi, window, elements):
        self.check_on_screen_at_the_bottom_right(dpi, window)
        self.assertTrue(inside(elements["L(0)"]["rect"], client_on_screen(window)),
                        f"panel heading at {elements['L(0)']['rect']}, window at {window['rect']}")
        self.check_elements_inside(window, elements, elements.keys())

    def check_on_screen_at_the_bottom_right(self, dpi, window):
        rect = window["rect"]
        self.assertTrue(inside(rect, [0, 0, *SCREEN]), f"{rect} is not on the screen")
        # Each gap holds where the window fits beside it; elsewhere the
        # window is only kept on the screen.
        right_gap, bottom_gap = px(RIGHT_GAP_TWIPS, dpi), px(BOTTOM_GAP_TWIPS, dpi)
        if width(rect) + right_gap <= SCREEN[0]:
            self.assertLessEqual(abs(SCREEN[0] - rect[2] - right_gap), 1, rect)
        if height(rect) + bottom_gap <= SCREEN[1]:
            self.assertLessEqual(abs(SCREEN[1] - rect[3] - bottom_gap), 1, rect)

    def check_elements_inside(self, window, elements, names):
        client = client_on_screen(window)
        outside = {name: elements[name]["rect"] for name in names
                   if elements[name]["visible"] and not inside(elements[name]["rect"], client)}
        self.assertEqual(outside, {}, f"outside the client area {client}")


if __name__ == "__main__":
    unittest.main()
