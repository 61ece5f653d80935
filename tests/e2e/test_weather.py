"""The weather block under Wine against the stand-in pages: the city found at
start-up, its weather and icon, the refresh, and what the network's faults do."""
import unittest

from calendar_app import CalendarApp
from harness import Session, SessionTest, StandinServer, free_port
from standin_server import weather_of

TRAY_ICON = (13, 32)  # the first icon of Wine's stand-alone tray
LABELS = ("Label12", "Label8", "Label9", "Label10", "Label13")


def widest_gap(shot, rect):
    """The widest run of ink-free columns between the first and the last
    column with ink (dark text on the light skin) in a rectangle."""
    left, top, right, bottom = rect
    inked = [x for x in range(left, right)
             if any(min(shot.pixel(x, y)) < 200 for y in range(top, bottom))]
    if not inked:
        return right - left
    return max((b - a - 1 for a, b in zip(inked, inked[1:])), default=0)


def addresses(location, weather):
    return f"[server]\nlocation={location}\nweather={weather}\n"


class WeatherTest(SessionTest):
    screen = (1280, 800)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.server = StandinServer(place="广东省深圳市 电信").start()

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        super().tearDownClass()

    def start(self, server=None, settings=None, balloon=False):
        base = (server or self.server).base
        folder = self.session.program_folder(
            settings=settings or addresses(f"{base}/ic.asp", f"{base}/search.php?city="))
        Session.set_flags(folder, x8=balloon)
        app = CalendarApp(self.session, folder)
        self.addCleanup(self.session.stop, app.proc)
        return app

    @staticmethod
    def texts(app):
        elements = app.elements()
        return {name: elements[name]["text"] for name in LABELS}

    def wait_texts(self, app, expected, timeout=20):
        self.session.wait_until(lambda: self.texts(app) == expected, timeout=timeout)
        self.assertEqual(self.texts(app), expected)

    @staticmethod
    def shenzhen(season=""):
        w = weather_of("深圳", season)
        return {"Label12": "深圳 ", "Label8": w["now"], "Label9": w["text"], "Label10": w["wind"],
                "Label13": f"{w['now']}-{w['high']}"}

    def test_start_shows_the_city_its_weather_and_icon_and_keeps_the_tray_icon(self):
        app = self.start(balloon=True)
        self.wait_texts(app, self.shenzhen())
        # The icon of the weather text, drawn over the light skin.
        image5 = app.element("Image5")["rect"]
        drawn = lambda: self.session.screenshot("weather-start").count(image5, lambda p: min(p) < 200)
        self.assertTrue(self.session.wait_until(lambda: drawn() > 30), "no icon drawn in Image5")
        # Every character of "1℃-7℃" is drawn: no blank the width of a glyph
        # inside the temperatures' ink.
        label13 = app.element("Label13")["rect"]
        gap = widest_gap(self.session.screenshot("weather-start"), label13)
        self.assertLess(gap, (label13[3] - label13[1]) / 2, f"a blank {gap} pixels wide in {label13}")

        # The balloon comes and goes (T3, two seconds after it); the icon and
        # its menu stay all along.
        icon_box = (TRAY_ICON[0] - 8, TRAY_ICON[1] - 8, TRAY_ICON[0] + 8, TRAY_ICON[1] + 8)
        icon = lambda: self.session.screenshot("weather-after-balloon").count(
            icon_box, lambda p: p[2] > 150 and p[0] < 120) > 5
        self.assertTrue(self.session.holds(icon, seconds=5), "the tray icon went with the balloon")

        asked = self.server.weather_requests().count("深圳 ")
        app.click_element("Image7")
        self.assertTrue(self.session.wait_until(
            lambda: self.server.weather_requests().count("深圳 ") == asked + 1))

    def test_faulty_answers_never_put_page_fragments_in_the_labels(self):
        """Each answer comes for a page that differs from the last one (a new
        season): a page that is no answer leaves the labels as they were, a
        whole one shows, whatever its status or length."""
        server = StandinServer().start()
        try:
            app = self.start(server)
            shown = self.shenzhen()
            self.wait_texts(app, shown)
            # The request headers: no cache may answer for the pages.
            for path in ("/ic.asp", "/search.php"):
                self.assertIn(("if-modified-since", "0"), server.request_headers(path)[0].items(), path)
            for mode, read in (("404", False), ("500", False), ("cut", False), ("unclosed", False),
                               ("close", False), ("nolength", True), ("huge", True), ("errorpage", True)):
                server.set_season(mode)
                self.assertNotEqual(self.shenzhen(mode), shown, "the new page must differ")
                server.set_fault("/search.php", mode)
                answered = len(server.served())
                app.click_element("Image7")
                self.assertTrue(self.session.wait_until(lambda: len(server.served()) > answered, timeout=30), mode)
                if read:
                    shown = self.shenzhen(mode)
                    self.wait_texts(app, shown)
                else:
                    self.assertTrue(self.session.holds(lambda: self.texts(app) == shown, seconds=2),
                                    (mode, self.texts(app)))
        finally:
            server.stop()

    def test_an_error_status_page_is_read_like_any_page(self):
        server = StandinServer().start()
        server.set_fault("/ic.asp", "errorpage")
        server.set_fault("/search.php", "errorpage")
        try:
            app = self.start(server)
            self.wait_texts(app, self.shenzhen())
        finally:
            server.stop()

    def test_a_black_holed_server_never_blocks_the_window(self):
        server = StandinServer().start()
        server.set_fault("/ic.asp", "hang")
        server.set_fault("/search.php", "hang")
        try:
            app = self.start(server)
            self.assertEqual(app.element("Label12")["text"], "加载...")
            # A blocked window thread would leave messages unanswered for seconds.
            # The fetches hang for good: a window that waited on one would not
            # answer for seconds, while a loaded machine answers within four.
            ping = self.session.probe("ping", app.hwnd, 7000, 4000)[0]
            self.assertEqual(ping["unanswered"], 0, ping)
            self.wait_texts(app, {"Label12": "", "Label8": "", "Label9": "", "Label10": "", "Label13": "-"})
        finally:
            server.stop()

    def test_a_refused_connection_leaves_the_start_captions(self):
        closed = f"http://127.0.0.1:{free_port()}"
        app = self.start(settings=addresses(f"{closed}/ic.asp", f"{closed}/search.php?city="))
        self.wait_texts(app, {"Label12": "", "Label8": "", "Label9": "", "Label10": "", "Label13": "-"})


if __name__ == "__main__":
    unittest.main()
