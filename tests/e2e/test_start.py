"""The calendar's start: where its window appears, and the start without arguments."""
import unittest

from harness import Session, free_port

TWIPS_PER_PIXEL = 15
WINDOW_SIZE = (352, 519)           # designed client size, narrow
RIGHT_GAP = 200 / TWIPS_PER_PIXEL  # twips to the screen's right edge
BOTTOM_GAP = 640 / TWIPS_PER_PIXEL


class PlacementTest(unittest.TestCase):
    def check_placement(self, width, height):
        session = Session(width, height)
        try:
            folder = session.program_folder()
            session.start(folder / "torvane.exe", "qidong")
            win = session.wait_window("TorvaneMain")
            left, top, right, bottom = win["rect"]
            self.assertEqual((right - left, bottom - top), WINDOW_SIZE)
            self.assertLessEqual(abs((width - right) - RIGHT_GAP), 1, win["rect"])
            self.assertLessEqual(abs((height - bottom) - BOTTOM_GAP), 1, win["rect"])
            session.screenshot(f"start-{width}x{height}")
            # The process lives on until ended from outside.
            self.assertIn("torvane.exe", session.processes())
        finally:
            session.close()

    def test_bottom_right_on_1280x800(self):
        self.check_placement(1280, 800)

    def test_bottom_right_on_1920x1080(self):
        self.check_placement(1920, 1080)


class CodePageTest(unittest.TestCase):
    def test_programs_see_the_chinese_ansi_code_page(self):
        session = Session(640, 480)
        try:
            self.assertEqual(session.probe("codepage"), [{"acp": 936, "oemcp": 936}])
        finally:
            session.close()


class EmptyCommandLineTest(unittest.TestCase):
    def test_opens_home_page_and_ends_without_a_window(self):
        session = Session(1024, 768)
        try:
            home = f"http://127.0.0.1:{free_port()}/"
            folder = session.program_folder(settings=f"[server]\nhome={home}\n")
            self.assertEqual(session.run(folder / "torvane.exe", timeout=60), 0)
            self.assertNotIn("torvane.exe", session.processes())
            self.assertEqual(session.windows(cls="TorvaneMain", all_windows=True), [])
            logged = session.wait_until(lambda: session.browser_log(), timeout=30)
            self.assertEqual(logged, [home])
        finally:
            session.close()


if __name__ == "__main__":
    unittest.main()
