"""The city pickers and the web pane under Wine against the stand-in: a
province and a city chosen with the keys and the mouse, the city's weather,
a typed province, the background press, an empty city label, and T1's pane."""
import unittest

from calendar_app import CalendarApp, center, height, px, width
from harness import SessionTest, StandinServer
from standin_server import weather_of

WM_CHAR = 0x0102
WM_ENABLE = 0x000A
WM_LBUTTONDOWN, WM_RBUTTONDOWN, MK_LBUTTON, MK_RBUTTON = 0x0201, 0x0204, 0x0001, 0x0002
BORDER_ENABLED, BORDER_DISABLED = (0x7F, 0x9D, 0xB9), (0xC0, 0xC0, 0xC0)
LIST_CLASS = "Torvane.ComboList"
LABELS = ("Label12", "Label8", "Label9", "Label10", "Label13")
ADBOX_TWIPS = (357 * 15, 267 * 15, 240 * 15, 235 * 15)  # left, top, width, height
OVERHANG = 4


def addresses(server):
    return (f"[server]\nlocation={server.base}/ic.asp\nweather={server.base}/search.php?city=\n"
            f"update={server.base}\n")


class PickersTest(SessionTest):
    screen = (1280, 800)

    def start(self, server):
        app = CalendarApp(self.session, self.session.program_folder(settings=addresses(server)))
        self.addCleanup(self.session.stop, app.proc)
        return app

    def serve(self, **faults):
        server = StandinServer(place="广东省深圳市 电信").start()
        self.addCleanup(server.stop)
        for path, mode in faults.items():
            server.set_fault(path, mode)
        return server

    # -- what the user sees ------------------------------------------------
    def combo(self, app, name):
        """The picker's entries, selection, open state and text."""
        state = self.session.probe("combo", app.element(name)["hwnd"])[0]
        state["text"] = app.element(name)["text"]
        return state

    def wait_combo(self, app, name, **expected):
        done = lambda: all(self.combo(app, name)[k] == v for k, v in expected.items())
        self.session.wait_until(done, timeout=30)
        state = self.combo(app, name)
        self.assertEqual({k: state[k] for k in expected}, expected)

    def texts(self, app):
        elements = app.elements()
        return {name: elements[name]["text"] for name in LABELS}

    def wait_texts(self, app, expected):
        self.session.wait_until(lambda: self.texts(app) == expected, timeout=20)
        self.assertEqual(self.texts(app), expected)

    def shown(self, app, *names):
        elements = app.elements()
        return [elements[name]["visible"] == 1 for name in names]

    # -- what the user does ------------------------------------------------
    def click_text(self, app, name):
        """A click on a picker's text area."""
        edit = self.session.tree(app.element(name)["hwnd"])[1]
        self.session.click(*center(edit["rect"]))
        return edit

    def click_button(self, app, name):
        rect = app.element(name)["rect"]
        self.session.click(rect[2] - 8, (rect[1] + rect[3]) // 2)

    def click_row(self, app, name, row):
        """A click on a row of the picker's open list."""
        popup = self.session.windows(cls=LIST_CLASS)[0]
        rows = min(self.combo(app, name)["count"], 10)
        left, top, _, bottom = popup["rect"]
        self.session.click(left + 20, int(top + 1 + (row + 0.5) * (bottom - top - 2) / rows))

    def press_background(self, app):
        left, top, _, _ = app.rect()
        self.session.click(left + 200, top + 140)  # the skin between the weather and the pickers

    # -- the flows -----------------------------------------------------------
    def test_a_province_and_a_city_chosen_by_keys_and_mouse(self):
        server = self.serve()
        app = self.start(server)
        self.assertTrue(self.session.wait_until(lambda: app.element("adbox")["visible"], timeout=30))
        self.assertEqual(self.combo(app, "text2")["items"][:3], ["北京市", "天津市", "重庆市"])
        self.assertEqual(self.shown(app, "text2", "Combo3"), [False, False])
        app.click_element("Label12")
        self.assertTrue(self.session.wait_until(lambda: self.shown(app, "text2", "Combo3") == [True, True]))
        self.session.screenshot("pickers-shown")

        # Keys: Alt+Down opens the province list, Down Down Enter takes 重庆市.
        self.click_text(app, "text2")
        self.session.key("alt+Down")
        self.wait_combo(app, "text2", dropped=1)
        self.session.screenshot("pickers-province-list")
        self.session.key("Down", "Down", "Return")
        self.wait_combo(app, "text2", text="重庆市", dropped=0)
        self.wait_combo(app, "Combo3", items=["重庆", "万州", "涪陵", "黔江"], selection=0, text="重庆")
        self.assertEqual(app.element("Label12")["text"], "深圳 ")

        # A click on the city's text asks for its weather; then it is the city.
        asked = len(server.weather_requests())
        self.click_text(app, "Combo3")
        self.assertTrue(self.session.wait_until(lambda: "重庆" in server.weather_requests()[asked:]))
        w = weather_of("重庆")
        self.wait_texts(app, {"Label12": "重庆", "Label8": w["now"], "Label9": w["text"],
                              "Label10": w["wind"], "Label13": f"{w['now']}-{w['high']}"})

        # Mouse: the button opens the city list, a row is chosen; the label waits for a click.
        self.click_button(app, "Combo3")
        self.wait_combo(app, "Combo3", dropped=1)
        self.session.screenshot("pickers-city-list")
        self.click_row(app, "Combo3", 1)
        self.wait_combo(app, "Combo3", text="万州", selection=1, dropped=0)
        self.assertEqual(app.element("Label12")["text"], "重庆")

        # 广东 typed without its 省: no cities, the last city stays in the text.
        edit = self.click_text(app, "text2")
        self.session.key("End", "BackSpace", "BackSpace", "BackSpace")
        for char in "广东":
            self.session.probe("post", edit["hwnd"], WM_CHAR, ord(char), 0)
        self.wait_combo(app, "text2", text="广东")
        self.wait_combo(app, "Combo3", count=0, items=[], text="万州")

        # An open list closes when the picker loses the focus; a left press on
        # the background hides both pickers.
        self.click_button(app, "text2")
        self.wait_combo(app, "text2", dropped=1)
        self.press_background(app)
        self.assertTrue(self.session.wait_until(lambda: self.shown(app, "text2", "Combo3") == [False, False]))
        self.wait_combo(app, "text2", dropped=0)
        self.assertEqual(self.session.windows(cls=LIST_CLASS), [])

    def test_an_empty_city_label_opens_the_pickers_and_T1_opens_the_pane(self):
        server = self.serve(**{"/ic.asp": "404"})
        server.put_file("/tg/", "<html><body>推广</body></html>".encode("utf-8"), "text/html; charset=utf-8")
        app = self.start(server)
        self.assertEqual(self.shown(app, "adbox"), [False])  # T1 has not ticked yet
        self.session.wait_until(lambda: app.element("Label12")["text"] == "", timeout=30)
        self.assertEqual(app.element("Label12")["text"], "")
        app.click_element("Label12")
        self.assertTrue(self.session.wait_until(lambda: self.shown(app, "text2", "Combo3") == [True, True]))

        self.assertTrue(self.session.wait_until(lambda: app.element("adbox")["visible"], timeout=30))
        left, top, _, _ = app.rect()
        pane = app.element("adbox")["rect"]
        expected = tuple(px(v) for v in ADBOX_TWIPS)
        self.assertEqual((pane[0] - left, pane[1] - top, width(pane), height(pane)), expected)
        # The browser's window overhangs the pane by four pixels on every side.
        browser = self.session.wait_until(lambda: self.session.tree(app.element("adbox")["hwnd"])[1:])
        self.assertTrue(browser, "no browser window in the pane")
        inner = browser[0]["rect"]
        self.assertEqual((inner[0] - pane[0], inner[1] - pane[1], width(inner), height(inner)),
                         (-OVERHANG, -OVERHANG, expected[2] + 2 * OVERHANG, expected[3] + 2 * OVERHANG))
        self.assertTrue(self.session.wait_until(lambda: "/tg/" in server.served(), timeout=30))
        # Silent: no dialog of any kind comes up beside the calendar.
        pid = app.window()["pid"]
        others = lambda: [w for w in self.session.windows() if w["pid"] == pid and w["hwnd"] != app.hwnd]
        self.assertTrue(self.session.holds(lambda: not others(), seconds=2), others())
        app.widen()  # the day panel, where the pane sits
        self.session.screenshot("pickers-pane")

    def test_the_arrow_answers_any_button_and_a_disabled_picker_stays_shut(self):
        app = self.start(self.serve())
        self.session.wait_until(lambda: self.combo(app, "text2")["count"] == 34, timeout=15)
        app.click_element("Label12")
        self.assertTrue(self.session.wait_until(lambda: self.shown(app, "text2") == [True]))
        rect = app.element("text2")["rect"]
        arrow = (rect[2] - 8, (rect[1] + rect[3]) // 2)
        for button in (3, 2):  # right, then middle: each press toggles the list
            self.session.click(*arrow, button=button)
            self.wait_combo(app, "text2", dropped=1)
            self.session.click(*arrow, button=button)
            self.wait_combo(app, "text2", dropped=0)

        border = lambda colour: self.session.screenshot("picker-border").count(
            rect, lambda p: tuple(p[:3]) == colour)
        # Posted presses keep their order with the enabling around them.
        hwnd = app.element("text2")["hwnd"]
        at = ((rect[3] - rect[1]) // 2) << 16 | (rect[2] - rect[0] - 8)
        self.session.probe("post", hwnd, WM_ENABLE, 0, 0)
        self.assertTrue(self.session.wait_until(lambda: border(BORDER_DISABLED) > 20, timeout=10))
        self.session.probe("post", hwnd, WM_RBUTTONDOWN, MK_RBUTTON, at)  # disabled: stays shut
        self.session.probe("post", hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at)
        self.session.probe("post", hwnd, WM_ENABLE, 1, 0)
        self.assertTrue(self.session.wait_until(lambda: border(BORDER_ENABLED) > 20, timeout=10))
        self.wait_combo(app, "text2", dropped=0)
        # Had a press opened it while disabled, this one would close it.
        self.session.probe("post", hwnd, WM_RBUTTONDOWN, MK_RBUTTON, at)
        self.wait_combo(app, "text2", dropped=1)


if __name__ == "__main__":
    unittest.main()
