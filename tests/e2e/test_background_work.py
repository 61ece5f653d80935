"""Background work on Win32 under Wine: bgwork.exe runs BackgroundWorkWin
through its cases and prints what reached the window's thread."""
import unittest

from harness import WIN_BIN, Session

ON_WINDOW_THREAD = " on the window thread"


class BackgroundWorkTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        session = Session(640, 480)
        try:
            cls.rc = session.run(WIN_BIN / "bgwork.exe", timeout=400)
            logs = sorted(session.dir.glob("bgwork-*.log"))
            cls.lines = logs[-1].read_text(encoding="utf-8", errors="replace").splitlines()
        finally:
            session.close()
        # Wine's own messages may share the output; the story's lines are these.
        cls.story = [line for line in cls.lines if not line.startswith(("fixme:", "err:", "wine:"))]

    def test_the_story_ends_and_the_program_exits_cleanly(self):
        self.assertEqual(self.rc, 0, self.lines)
        self.assertEqual(self.story[-1:], ["done"], self.lines)

    def test_results_and_time_outs_arrive_on_the_window_thread(self):
        for line in ("quick delivered 42", "chained delivered chain", "late timed out",
                     "weather delivered new"):
            self.assertIn(line + ON_WINDOW_THREAD, self.story, self.lines)

    def test_reports_arrive_on_the_window_thread_in_order_before_the_result(self):
        lines = [line for line in self.story if line.startswith(("report ", "reporting "))]
        self.assertEqual(lines, ["report 10%" + ON_WINDOW_THREAD, "report 60%" + ON_WINDOW_THREAD,
                                 "reporting delivered" + ON_WINDOW_THREAD], self.lines)
        self.assertFalse([line for line in self.story if line.startswith("silenced")], self.lines)

    def test_late_superseded_and_cancelled_results_are_dropped(self):
        self.assertIn("late, old weather and cancelled work returned", self.story, self.lines)
        for dropped in ("late delivered", "weather delivered old", "cancelled"):
            self.assertFalse([line for line in self.story if line.startswith(dropped)], self.lines)

    def test_a_worker_that_outlives_its_runner_touches_nothing(self):
        self.assertIn("runner destroyed while its worker waits", self.story, self.lines)
        self.assertIn("orphan work returned", self.story, self.lines)
        self.assertFalse([line for line in self.story if line.startswith("orphan delivered")
                          or line.startswith("orphan timed out")], self.lines)

    def test_work_refused_a_thread_waits_for_one_or_times_out(self):
        for line in ("refused delivered 5", "hopeless timed out"):
            self.assertIn(line + ON_WINDOW_THREAD, self.story, self.lines)
        self.assertIn("refused threads ended their jobs", self.story, self.lines)
        for never in ("parked", "hopeless delivered"):
            self.assertFalse([line for line in self.story if line.startswith(never)], self.lines)

    def test_a_held_runner_starts_its_live_jobs_only_when_released(self):
        self.assertIn("held delivered 7" + ON_WINDOW_THREAD, self.story, self.lines)
        self.assertIn("held runner asked for 0 threads, then 1", self.story, self.lines)
        self.assertFalse([line for line in self.story if line.startswith("held cancelled")], self.lines)


if __name__ == "__main__":
    unittest.main()
