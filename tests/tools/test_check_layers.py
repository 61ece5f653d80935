"""tools/check_layers.py on small trees: what it lets through and what it stops."""
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
import check_layers  # noqa: E402


def tree(root, files):
    for name, included in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text("".join(f'#include "{target}"\n' for target in included), encoding="utf-8")


class CheckLayersTest(unittest.TestCase):
    def test_each_rule_on_a_small_tree(self):
        cases = [
            ("down is fine", {"ui/a.cpp": ["common/b.h"], "common/b.h": []}, None),
            ("a root over everything", {"app/torvane/main.cpp": ["calendar/a.h", "weather/b.h"],
                                        "calendar/a.h": [], "weather/b.h": ["calendar/a.h"]}, None),
            ("up", {"common/a.cpp": ["ui/b.h"], "ui/b.h": []}, "an arrow up from common/ to ui/"),
            ("a feature under the main window", {"calendar/win/main.cpp": ["weather/w.h"], "weather/w.h": []},
             "an arrow up from calendar/ to weather/"),
            ("across one floor", {"weather/a.cpp": ["settings/b.h"], "settings/b.h": []},
             "an arrow across from weather/ to settings/"),
            ("a circle inside a folder", {"calendar/win/a.cpp": ["calendar/b.h"],
                                          "calendar/b.cpp": ["calendar/win/a.h"], "calendar/win/a.h": []},
             "in a circle"),
            ("a folder without a floor", {"newthing/a.cpp": ["common/b.h"], "common/b.h": []}, "has no floor"),
            ("tests may include anything", {"tests/unit/a.cpp": ["app/torvane/x.h"], "app/torvane/x.h": []}, None),
        ]
        for story, files, expected in cases:
            with self.subTest(story), tempfile.TemporaryDirectory() as folder:
                root = Path(folder)
                tree(root, files)
                problems = check_layers.check(root)
                if expected is None:
                    self.assertEqual(problems, [])
                else:
                    self.assertTrue(any(expected in p for p in problems), problems)

    def test_the_project_keeps_its_floors(self):
        self.assertEqual(check_layers.check(check_layers.ROOT), [])


if __name__ == "__main__":
    unittest.main()
