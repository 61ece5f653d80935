"""The running calendar as the Wine tests see it: its window, its element
windows by name, and where a user clicks."""

TWIPS_PER_INCH = 1440
NARROW_TWIPS, WIDE_TWIPS = 5280, 9024
RIGHT_GAP_TWIPS, BOTTOM_GAP_TWIPS = 200, 640
MAIN_CLASS = "TorvaneMain"


def px(twips, dpi=96):
    """Twips as whole pixels at a DPI, rounded to the nearest."""
    return int(twips * dpi / TWIPS_PER_INCH + 0.5)


def width(rect):
    return rect[2] - rect[0]


def height(rect):
    return rect[3] - rect[1]


def center(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def heading(day):
    """The day panel's heading L(0) for a date."""
    return f"日程信息 ({day.year}年{day.month}月{day.day}日)\r\n"


class CalendarApp:
    """One running torvane.exe and what a user can see of it."""

    def __init__(self, session, folder=None):
        self.session = session
        self.folder = folder or session.program_folder()
        # Calendars a test left running share the session: this one's window
        # is the one that was not there before.
        before = {w["hwnd"] for w in session.windows(cls=MAIN_CLASS, all_windows=True)}
        self.proc = session.start(self.folder / "torvane.exe", "qidong")
        new = session.wait_until(
            lambda: [w for w in session.windows(cls=MAIN_CLASS) if w["hwnd"] not in before], timeout=60)
        if not new:
            raise AssertionError(f"no new visible window of class {MAIN_CLASS}")
        self.hwnd = new[0]["hwnd"]

    def window(self):
        found = [w for w in self.session.windows(cls=MAIN_CLASS, all_windows=True)
                 if w["hwnd"] == self.hwnd]
        return found[0] if found else None

    def rect(self):
        return self.window()["rect"]

    def elements(self):
        """The element windows by the names of the calendar's layout."""
        return self.session.elements(self.hwnd)

    def element(self, name):
        found = self.elements()
        if name not in found:
            raise AssertionError(f"no element window named {name!r}; named: {sorted(found)}")
        return found[name]

    def click_element(self, name):
        element = self.element(name)
        # A click on a hidden or empty element would land on whatever lies there.
        if not element["visible"] or width(element["rect"]) <= 0 or height(element["rect"]) <= 0:
            raise AssertionError(f"{name} cannot be clicked: {element}")
        self.session.click(*center(element["rect"]))

    def wait_width(self, pixels):
        return self.session.wait_until(
            lambda: (w := self.window()) and w["visible"] and width(w["rect"]) == pixels)

    def wait_hidden(self):
        return self.session.wait_until(lambda: not self.window()["visible"])

    def cell_rect(self, row, column):
        """Screen rectangle of a grid cell, from the grid's place and six equal rows."""
        left, top, right, bottom = self.element("picMain")["rect"]
        scale = self.session.dpi / 96
        # The weekday band; any value within a few pixels hits the same cell.
        header = 20 * scale
        cell_w = (right - left) / 7
        cell_h = (bottom - top - header - 4 * scale) / 6
        x, y = left + column * cell_w, top + header + 6 * scale + row * cell_h
        return x, y, x + cell_w, y + cell_h

    def cell_center(self, row, column):
        left, top, right, bottom = self.cell_rect(row, column)
        return int((left + right) / 2), int((top + bottom) / 2)

    def day_rect(self, day):
        """The cell of a date of the displayed month."""
        row, column = divmod((day.replace(day=1).weekday() + 1) % 7 + day.day - 1, 7)
        return self.cell_rect(row, column)

    def widen(self):
        """Opens the day panel with a click on a day of the grid."""
        self.session.click(*self.cell_center(2, 3))
        return self.wait_width(px(WIDE_TWIPS, self.session.dpi))

    def panel_heading(self):
        return self.element("L(0)")["text"]
