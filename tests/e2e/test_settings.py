"""The settings dialog under Wine: opened by the main window's settings
button, its switches write set.ini and change the main window at once."""
import unittest

from calendar_app import MAIN_CLASS, CalendarApp, center, px, width
from harness import SessionTest, StandinServer, local_settings

SZ_CLASS = "TorvaneSettings"
SCREEN = (1280, 800)
TRAY_ICON = (13, 32)  # the first icon of Wine's stand-alone tray
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
SZ_TWIPS = (6000, 4500)
# A set.ini as a user may keep it: comments, blank lines, keys in another case.
SET_INI = ("; Torvane 设置\n[sys]\nx1=True\nx2=True\nx3=True\n; 日期行\nx4=True\n"
           "x5=True\nX6=True\nx7=False\nx8=True\nx9=False\n\n[version]\nversion=1.0\n")
ACCENT = lambda p: p[2] > 200 and p[0] < 80 and 80 < p[1] < 130  # the "on" picture's blue


class SettingsDialogTest(SessionTest):
    screen = SCREEN

    def start(self, server=""):
        """The calendar on SET_INI; `server` names stand-in addresses."""
        folder = self.session.program_folder()
        ini = folder / "set.ini"
        ini.write_bytes(local_settings(SET_INI + server).replace("\n", "\r\n").encode("gbk"))
        app = CalendarApp(self.session, folder)
        self.addCleanup(self.session.stop, app.proc)
        return app, ini

    def dialogs(self):
        return self.session.windows(cls=SZ_CLASS)

    def open_dialog(self, app):
        app.click_element("c1")
        self.assertTrue(self.session.wait_until(self.dialogs), "the settings button opened nothing")
        dialog = self.dialogs()[0]
        size = tuple(px(twips, self.session.dpi) for twips in SZ_TWIPS)
        self.assertEqual((width(dialog["rect"]), dialog["rect"][3] - dialog["rect"][1]), size)
        return dialog

    def click(self, dialog, name):
        element = self.session.elements(dialog["hwnd"])[name]
        self.assertTrue(element["visible"], name)
        self.session.click(*center(element["rect"]))

    def text(self, dialog, name):
        return self.session.elements(dialog["hwnd"])[name]["text"]

    def test_opens_beside_the_narrow_main_window_and_a_second_press_brings_it_forward(self):
        server = StandinServer().start()
        self.addCleanup(server.stop)
        app, _ = self.start(f"[server]\nlocation={server.base}/ic.asp\nweather={server.base}/search.php?city=\n")
        self.assertTrue(self.session.wait_until(lambda: app.element("Label13")["text"]), "no weather came")
        dialog = self.open_dialog(app)
        main = app.rect()
        # Its right edge 10 twips right of the main window's left edge.
        self.assertLessEqual(abs(dialog["rect"][2] - main[0]), 1)
        self.assertEqual(dialog["rect"][1], main[1])
        self.assertEqual(dialog["owner"], 0)
        # The previews show the main window's texts.
        main_text = lambda name: app.element(name)["text"]
        self.assertEqual(self.text(dialog, "Label2"), main_text("Label12") + "    " + main_text("Label8"))
        self.assertEqual(self.text(dialog, "Label3"), main_text("Label9") + "    " + main_text("Label13"))
        self.assertEqual(self.text(dialog, "Label5"), main_text("Label1"))
        self.assertEqual(self.text(dialog, "Label6"), main_text("Label4"))
        # Switches x1..x6 are on and show the blue "on" picture; x7 is off.
        switches = {name: self.session.elements(dialog["hwnd"])[name]["rect"] for name in ("c1", "c6", "c7")}
        shot = self.session.screenshot_until("settings-beside-main",
                                             lambda shot: shot.count(switches["c1"], ACCENT) > 20)
        for name, on in (("c1", True), ("c6", True), ("c7", False)):
            self.assertEqual(shot.count(switches[name], ACCENT) > 20, on, name)

        order = lambda: [w["class"] for w in self.session.windows() if w["class"] in (MAIN_CLASS, SZ_CLASS)]
        # The tray icon hides the main window, then shows it in front.
        self.session.click(*TRAY_ICON)
        self.assertTrue(app.wait_hidden())
        self.session.click(*TRAY_ICON)
        self.assertTrue(self.session.wait_until(lambda: order()[0] == MAIN_CLASS), order())
        app.click_element("c1")
        self.assertTrue(self.session.wait_until(lambda: order()[0] == SZ_CLASS), order())
        self.assertEqual(len(self.session.windows(cls=SZ_CLASS, all_windows=True)), 1)

    def test_switches_write_set_ini_at_once_and_only_the_display_ones_change_the_main_window(self):
        app, ini = self.start()
        before = ini.read_bytes()
        dialog = self.open_dialog(app)
        self.click(dialog, "c4")
        self.assertTrue(self.session.wait_until(lambda: not app.element("Label1")["visible"]))
        self.assertEqual(ini.read_bytes(), before.replace(b"x4=True", b"x4=False"))
        self.click(dialog, "c4")
        self.assertTrue(self.session.wait_until(lambda: app.element("Label1")["visible"]))
        self.assertEqual(ini.read_bytes(), before)  # x4=True again, every other byte as it was

        self.click(dialog, "Label12")  # the caption "手动升级" flips c9
        self.assertTrue(self.session.wait_until(lambda: self.text(dialog, "Label12") == "自动升级"))
        self.click(dialog, "c7")
        self.assertTrue(self.session.wait_until(lambda: self.text(dialog, "Label10") == "已设置开机启动日历"))
        self.assertEqual(ini.read_bytes(), before.replace(b"x7=False", b"x7=True").replace(b"x9=False", b"x9=True"))
        # The Run value changes at the calendar's next start, not now.
        self.assertIsNone(self.session.reg_query(RUN_KEY, "torvane"))

    def test_keys_link_and_close_button(self):
        app, ini = self.start()
        dialog = self.open_dialog(app)
        self.session.key("Tab", "space")  # c1 has the focus; Tab moves it to c2
        self.assertTrue(self.session.wait_until(lambda: not app.element("Label9")["visible"]))
        self.assertIn(b"x2=False", ini.read_bytes())
        self.session.screenshot("settings-keyboard-focus")
        self.session.key("Escape")
        self.assertTrue(self.session.wait_until(lambda: not self.dialogs()))
        # Another program's write while the calendar runs is read at the next opening.
        ini.write_bytes(ini.read_bytes().replace(b"x9=False", b"x9=True"))
        dialog = self.open_dialog(app)  # loaded again
        self.assertEqual(self.text(dialog, "Label12"), "自动升级")
        self.click(dialog, "Label13")
        self.assertTrue(self.session.wait_until(
            lambda: any("127.0.0.1:9" in line for line in self.session.browser_log())))
        self.click(dialog, "I1")
        self.assertTrue(self.session.wait_until(lambda: not self.dialogs()))

    def test_opens_on_the_screen_when_the_main_window_is_at_the_left_edge(self):
        app, _ = self.start()
        # Drag the main window by its date line to the screen's left edge.
        x, y = center(app.element("Label1")["rect"])
        distance = app.rect()[0]
        self.session.xdotool("mousemove", x, y)
        self.session.wait_pointer(x, y)
        self.session.xdotool("mousedown", 1)
        self.session.wait_pointer(x, y, 1, down=True)
        for step in range(1, 11):
            self.session.xdotool("mousemove", x - step * distance // 10, y)
            self.session.wait_pointer(x - step * distance // 10, y)
        self.session.xdotool("mouseup", 1)
        self.assertTrue(self.session.wait_until(lambda: 0 <= app.rect()[0] < 20), app.rect())
        left, top, right, bottom = self.open_dialog(app)["rect"]
        # Fully on the screen, beside the main window rather than over it.
        self.assertTrue(app.rect()[2] - 1 <= left and right <= SCREEN[0], (left, right))
        self.session.screenshot("settings-main-at-left-edge")


class SettingsDialogHighDpiTest(SessionTest):
    """At 144 DPI the dialog keeps its size in twips, so its pixels grow."""
    screen = SCREEN
    dpi = 144
    start = SettingsDialogTest.start
    dialogs = SettingsDialogTest.dialogs
    open_dialog = SettingsDialogTest.open_dialog

    def test_opens_scaled_beside_the_main_window(self):
        app, _ = self.start()
        dialog = self.open_dialog(app)
        self.assertLessEqual(abs(dialog["rect"][2] - app.rect()[0]), 1)
        self.session.screenshot("settings-144dpi")


if __name__ == "__main__":
    unittest.main()
