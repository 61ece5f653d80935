"""The real calendar against the real service under Wine, with a recorded
forecast upstream on 127.0.0.1: the city found from the address, its weather
and icon, a city chosen in the pickers, the web pane's page; and what the
calendar shows when the upstream is down."""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
from calendar_app import CalendarApp, center  # noqa: E402
from harness import SessionTest, free_port  # noqa: E402
from recorded_upstream import RecordedUpstream  # noqa: E402
from server_pages import weather  # noqa: E402
from torvane_service import build_ip_database, TorvaneService  # noqa: E402

LABELS = ("Label12", "Label8", "Label9", "Label10", "Label13")
# The calendar calls from 127.0.0.1: the test's database places that in 深圳.
DATABASE = build_ip_database([("127.0.0.0", "127.255.255.255", "中国|0|广东省|深圳市|电信")])
ROOT = Path(__file__).resolve().parents[2]
RELEASE_NOTES = (ROOT / "server" / "site" / "index.html").read_bytes()


class CalendarAgainstServiceTest(SessionTest):
    screen = (1280, 800)

    def serve(self, upstream):
        service = TorvaneService(upstream, ip_database=DATABASE,
                                 site={"index.html": RELEASE_NOTES}).start()
        self.addCleanup(service.stop)
        return service

    def start(self, service):
        base = service.base
        folder = self.session.program_folder(settings=(
            f"[server]\nlocation={base}/ic.asp\nweather={base}/search.php?city=\nupdate={base}\n"))
        app = CalendarApp(self.session, folder)
        self.addCleanup(self.session.stop, app.proc)
        return app

    def texts(self, app):
        elements = app.elements()
        return {name: elements[name]["text"] for name in LABELS}

    def wait_texts(self, app, expected, timeout=30):
        self.session.wait_until(lambda: self.texts(app) == expected, timeout=timeout)
        self.assertEqual(self.texts(app), expected)

    def served(self, service, target):
        return any(r["target"] == target and r["status"] == 200 for r in service.log())

    def test_city_weather_icon_a_chosen_city_and_the_pane(self):
        upstream = RecordedUpstream().start()
        self.addCleanup(upstream.stop)
        service = self.serve(upstream.base)
        app = self.start(service)

        # The service placed the caller in 深圳 and the labels show its weather.
        expected = {"Label12": "深圳 ", **weather(service.base, "深圳")}
        self.wait_texts(app, expected)
        image5 = app.element("Image5")["rect"]
        drawn = lambda: self.session.screenshot("service-start").count(image5, lambda p: min(p) < 200)
        self.assertTrue(self.session.wait_until(lambda: drawn() > 30), "no icon drawn in Image5")

        # T1 opened the pane on the service's release notes.
        self.assertTrue(self.session.wait_until(lambda: app.element("adbox")["visible"], timeout=20))
        self.assertTrue(self.session.wait_until(lambda: self.served(service, "/tg/"), timeout=20))

        # 重庆 chosen in the pickers: its weather comes from the service.
        app.click_element("Label12")
        self.assertTrue(self.session.wait_until(lambda: app.element("Combo3")["visible"]))
        edit = self.session.tree(app.element("text2")["hwnd"])[1]
        self.session.click(*center(edit["rect"]))
        self.session.key("alt+Down")
        self.session.wait_until(lambda: self.session.probe("combo", app.element("text2")["hwnd"])[0]["dropped"])
        self.session.key("Down", "Down", "Return")
        self.session.wait_until(lambda: app.element("Combo3")["text"] == "重庆")
        city = self.session.tree(app.element("Combo3")["hwnd"])[1]
        self.session.click(*center(city["rect"]))
        self.wait_texts(app, {"Label12": "重庆", **weather(service.base, "重庆")})
        self.session.screenshot("service-chosen-city")
        self.assertEqual(service.stop(), 0)

    def test_upstream_down_the_city_stays_and_the_weather_labels_stay_empty(self):
        service = self.serve(f"http://127.0.0.1:{free_port()}")
        app = self.start(service)
        self.wait_texts(app, {"Label12": "深圳 ", "Label8": "", "Label9": "", "Label10": "", "Label13": "-"})
        self.assertTrue(self.session.wait_until(
            lambda: any(r["how"] == "fetch-failed" for r in service.log())))


if __name__ == "__main__":
    unittest.main()
