"""Chinese text that the programs read as GBK arrives as written: the text
tables built into the calendar and the addresses in set.ini.

Each expected text is one that code page 950 would read differently, so a
program that decodes with the wrong code page fails here."""
import datetime
import unittest

from calendar_app import CalendarApp
from harness import ROOT, Session, free_port

TEXT_TABLES = ROOT / "resources" / "text"
ANIMALS = "鼠牛虎兔龙蛇马羊猴鸡狗猪"  # from the year 1900, a year of the rat
STORY_BREAK = "\\n"  # a backslash and an n mark a line break in a story


def table(number):
    """The entries of a text table as kept in the source tree (UTF-8, a line each)."""
    path = next(TEXT_TABLES.glob(f"{number}-*.txt"))
    return path.read_text(encoding="utf-8").split("\n")


def story_of(year):
    """The zodiac story of a year's animal, whose heading names its branch and
    animal, such as 馬（午马）."""
    animal = ANIMALS[(year - 1900) % 12]
    stories = [entry for entry in table(103) if entry.split(STORY_BREAK)[0].endswith(f"{animal}）")]
    assert len(stories) == 1, f"one story for {animal}"
    return stories[0]


def lines(text):
    return text.rstrip("\r\n").split("\r\n")


class TextsTest(unittest.TestCase):
    def setUp(self):
        self.session = Session(1024, 768)
        self.addCleanup(self.session.close)

    def assert_not_big5_safe(self, text):
        self.assertNotEqual(text.encode("gbk").decode("cp950", errors="replace"), text,
                            "this text cannot tell code page 936 from 950")

    def test_the_day_panel_shows_the_text_tables_of_today(self):
        app = CalendarApp(self.session)
        today = datetime.date.today()
        character = table(105)[today.day - 1]
        story = story_of(today.year)
        self.assert_not_big5_safe(character)
        self.assert_not_big5_safe(story)
        elements = app.elements()
        self.assertEqual(elements["L(6)"]["text"].rstrip("\r\n"), character)
        self.assertEqual(lines(elements["Text1"]["text"]), story.split(STORY_BREAK))

    def test_a_chinese_home_address_reaches_the_browser_intact(self):
        home = f"http://127.0.0.1:{free_port()}/日历/首页?城市=北京"
        self.assert_not_big5_safe(home)
        folder = self.session.program_folder(settings=f"[server]\nhome={home}\n")
        self.assertIn(home.encode("gbk"), (folder / "set.ini").read_bytes(), "set.ini holds GBK")
        self.assertEqual(self.session.run(folder / "torvane.exe", timeout=60), 0)
        self.assertEqual(self.session.wait_until(self.session.browser_log, timeout=30), [home])


if __name__ == "__main__":
    unittest.main()
