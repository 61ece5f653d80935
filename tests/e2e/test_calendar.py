"""The calendar window under Wine: placement, grid, panel, keys, tray, autostart."""
import calendar
import datetime
import unittest

from calendar_app import (NARROW_TWIPS, RIGHT_GAP_TWIPS, WIDE_TWIPS, CalendarApp, center, heading, px,
                          width)
from harness import Session

SCREEN = (1280, 800)
NARROW, WIDE = px(NARROW_TWIPS), px(WIDE_TWIPS)
RIGHT_GAP_PX = RIGHT_GAP_TWIPS / 15
TRAY_ICON = (13, 32)              # the first icon of Wine's stand-alone tray
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
LB_GETCOUNT, LB_GETCURSEL, LB_GETTOPINDEX, LB_GETITEMHEIGHT = 0x18B, 0x188, 0x18E, 0x1A1


class CalendarWindowTest(unittest.TestCase):
    def setUp(self):
        self.session = Session(*SCREEN)
        self.addCleanup(self.session.close)

    def test_starts_narrow_at_the_bottom_right_with_today_in_blue(self):
        app = CalendarApp(self.session)
        left, top, right, bottom = app.window()["rect"]
        self.assertEqual(right - left, NARROW)
        self.assertLessEqual(abs(SCREEN[0] - right - RIGHT_GAP_PX), 1)
        today = datetime.date.today()
        self.assertEqual(app.element("Label5")["text"], str(today.year))
        self.assertEqual(app.element("Label7")["text"], str(today.month))
        self.assertTrue(app.element("Label2")["visible"])
        # Today's day number is the only text of the grid drawn in pure blue.
        offset = (calendar.weekday(today.year, today.month, 1) + 1) % 7
        row, column = divmod(offset + today.day - 1, 7)
        cx, cy = app.cell_center(row, column)
        blue = lambda p: p[2] > 180 and p[0] < 80 and p[1] < 80
        today_box = (cx - 24, cy - 24, cx + 24, cy + 24)
        shot = self.session.screenshot_until("calendar-narrow", lambda shot: shot.count(today_box, blue) > 10)
        self.assertGreater(shot.count(today_box, blue), 10)
        grid = app.element("picMain")["rect"]
        self.assertEqual(shot.count(grid, blue), shot.count((cx - 25, cy - 25, cx + 25, cy + 25), blue))

    def test_a_click_opens_the_panel_and_the_buttons_close_it(self):
        app = CalendarApp(self.session)
        first = datetime.date.today().replace(day=1)
        offset = (first.weekday() + 1) % 7
        self.session.click(*app.cell_center(2, 3))
        self.assertTrue(app.wait_width(WIDE))
        left, top, right, bottom = app.window()["rect"]
        self.assertLessEqual(abs(SCREEN[0] - right - RIGHT_GAP_PX), 1)
        self.assertEqual(app.panel_heading(), heading(first.replace(day=3 + 2 * 7 + 1 - offset)))
        self.session.screenshot("calendar-wide")

        app.click_element("I11")
        self.assertTrue(app.wait_width(NARROW))
        self.session.click(*app.cell_center(1, 1))
        self.assertTrue(app.wait_width(WIDE))
        app.click_element("I1")
        self.assertTrue(app.wait_hidden())
        self.session.screenshot("calendar-hidden")
        self.session.click(*TRAY_ICON)
        self.assertTrue(app.wait_width(NARROW), "the tray icon shows the window again, narrow")

    def test_the_close_button_hides_the_narrow_window(self):
        app = CalendarApp(self.session)
        self.assertEqual(width(app.rect()), NARROW)
        app.click_element("I1")
        self.assertTrue(app.wait_hidden(), "a click on the close button left the window shown")

    def test_the_window_paints_its_right_most_column(self):
        app = CalendarApp(self.session)
        black = lambda p: p == (0, 0, 0)
        for state in ("narrow", "wide"):
            with self.subTest(state):
                if state == "wide":
                    self.assertTrue(app.widen())
                left, top, right, bottom = app.rect()
                column = (right - 1, top, right, bottom)
                unpainted = lambda: self.session.screenshot(f"calendar-edge-{state}").count(column, black)
                self.assertTrue(self.session.wait_until(lambda: unpainted() == 0, timeout=30, step=0.5),
                                f"{unpainted()} black pixels in column x={right - 1}")

    def test_keys_move_through_days_and_months(self):
        app = CalendarApp(self.session)
        today = datetime.date.today()
        self.session.click(*app.cell_center(2, 3))
        self.assertTrue(app.wait_width(WIDE))
        # A click into the day's text, then on the grid: the keys are the calendar's again.
        self.session.click(*center(app.element("Text1")["rect"]))
        self.session.click(*app.cell_center(2, 3))
        next_month = (today.replace(day=28) + datetime.timedelta(days=4)).replace(day=1)
        self.session.key("Next")  # Page Down: the 1st of the next month
        self.assertTrue(self.session.wait_until(lambda: app.panel_heading() == heading(next_month)))
        self.assertEqual(app.element("Label7")["text"], str(next_month.month))
        self.session.key("Left")  # back over the month's edge to its last day
        last = next_month - datetime.timedelta(days=1)
        self.assertTrue(self.session.wait_until(lambda: app.panel_heading() == heading(last)))
        self.session.key("Right")  # and forward again
        self.assertTrue(self.session.wait_until(lambda: app.panel_heading() == heading(next_month)))

    def test_a_press_on_the_year_that_does_not_move_the_window_opens_the_year_list(self):
        app = CalendarApp(self.session)
        year = int(app.element("Label5")["text"])
        app.click_element("Label5")  # the press starts a window move; no motion follows
        self.assertTrue(self.session.wait_until(lambda: app.element("List1")["visible"]))
        self.assertEqual(app.window()["rect"][2] - app.window()["rect"][0], NARROW)
        box = app.element("List1")
        send = lambda msg: self.session.probe("send", box["hwnd"], msg, 0, 0)[0]["result"]
        # The lists are filled by the delayed start-up step, the shown year on top.
        filled = lambda: (send(LB_GETCOUNT), send(LB_GETCURSEL), send(LB_GETTOPINDEX)) == (
            150, year - 1900, year - 1900)
        self.assertTrue(self.session.wait_until(filled, timeout=30))
        # The item is picked with messages posted to the list: what matters here
        # is the press on the caption, and X pointer timing is not.
        self.session.probe("click", box["hwnd"], 20, int(2.5 * send(LB_GETITEMHEIGHT)))
        self.assertTrue(self.session.wait_until(
            lambda: app.element("Label5")["text"] == str(year + 2)))
        self.assertFalse(app.element("List1")["visible"])

    def test_switch_x3_off_hides_the_clock(self):
        folder = self.session.program_folder()
        Session.set_flags(folder, x3=False)
        app = CalendarApp(self.session, folder)
        self.assertFalse(app.element("Label2")["visible"])
        self.assertFalse(app.element("La")["visible"])
        self.assertTrue(app.element("Label1")["visible"])

    def test_exit_ends_the_suite_and_removes_the_icon(self):
        port_file_server = self._local_server()
        folder = self.session.program_folder(settings=f"[server]\nprobe={port_file_server}\n")
        self.session.start(folder / "torvo.exe")
        self.session.wait_window("TorvaneMain")
        CalendarApp(self.session, folder)  # a second calendar: exit ends both
        self.assertTrue(self.session.wait_until(
            lambda: self.session.processes().count("torvane.exe") == 2), self.session.processes())
        before = self.session.screenshot("tray-before-exit")
        icon_box = (TRAY_ICON[0] - 8, TRAY_ICON[1] - 8, TRAY_ICON[0] + 8, TRAY_ICON[1] + 8)
        icon_blue = lambda p: p[2] > 150 and p[0] < 120
        self.assertGreater(before.count(icon_box, icon_blue), 5)
        self.session.click(*TRAY_ICON, button=3)
        self.assertTrue(self.session.wait_until(lambda: self.session.windows(cls="#32768")))
        self.session.key("Up", "Return")  # the last item: 退出软件
        gone = lambda: not {"torvane.exe", "torvo.exe"} & set(self.session.processes())
        self.assertTrue(self.session.wait_until(gone, timeout=20))
        no_icon = lambda: self.session.screenshot("tray-after-exit").count(icon_box, icon_blue) == 0
        self.assertTrue(self.session.wait_until(no_icon, timeout=30, step=0.5))

    def test_autostart_switch_writes_and_removes_the_run_value(self):
        folder = self.session.program_folder()
        Session.set_flags(folder, x7=True)
        app = CalendarApp(self.session, folder)
        value = self.session.wait_until(lambda: self.session.reg_query(RUN_KEY, "torvane"))
        self.assertTrue(value.startswith('"') and value.endswith('torvane.exe" qidong'), value)
        self.session.stop(app.proc)
        Session.set_flags(folder, x7=False)
        CalendarApp(self.session, folder)
        self.assertTrue(self.session.wait_until(
            lambda: self.session.reg_query(RUN_KEY, "torvane") is None))

    def _local_server(self):
        import http.server
        import threading
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), http.server.BaseHTTPRequestHandler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        return f"http://127.0.0.1:{server.server_address[1]}/"


if __name__ == "__main__":
    unittest.main()
