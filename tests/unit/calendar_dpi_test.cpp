// The main window at the DPIs Windows offers: model and window agree on
// every pixel, the window stays on the screen, the grid answers where it draws.
#include <gtest/gtest.h>

#include "calendar/header.h"
#include "calendar_fakes.h"
#include "ui/text_width.h"

namespace torvane::calendar {
namespace {

using testing::Harness;

struct DpiCase {
    int dpi;
    int narrowPx, widePx;  // the window widths Windows creates: MulDiv(twips, dpi, 1440)
};

constexpr DpiCase kCases[] = {{96, 352, 602}, {120, 440, 752}, {144, 528, 902}, {192, 704, 1203}};

// The calendar started on a 1920x1080 screen at this DPI.
void StartAt(Harness& h, int dpi) {
    h.w.screen = ScreenInfo{1920, 1080, dpi};
    h.Start();
}

TEST(Units, TwipsToPixelsAgreesWithTheWindowAtEveryDpi) {
    for (const DpiCase& c : kCases) {
        SCOPED_TRACE(c.dpi);
        const ui::Dpi dpi(c.dpi);
        EXPECT_EQ(dpi.Px(kWindowWidthNarrow), c.narrowPx);
        EXPECT_EQ(dpi.Px(kWindowWidthWide), c.widePx);
        // Pixels the window reports come back as the same pixels.
        for (int px : {0, 1, 351, 602, 1203, 1920, -7}) EXPECT_EQ(dpi.Px(dpi.Twips(px)), px);
        // Neighbouring rectangles stay neighbours, whatever the rounding.
        const ui::Rect left = dpi.Px(ui::Rect{0, 0, 5250, 10}), right = dpi.Px(ui::Rect{5250, 0, 15, 10});
        EXPECT_EQ(left.right(), right.left);
    }
}

TEST(CalendarDpi, TheWindowFitsTheScreenAndItsLastColumnIsPainted) {
    for (const DpiCase& c : kCases) {
        SCOPED_TRACE(c.dpi);
        Harness h;
        StartAt(h, c.dpi);
        for (bool wide : {false, true}) {
            if (wide) h.ClickDay(15);
            const Rect win = h.model.windowPixels();
            EXPECT_EQ(win.width, wide ? c.widePx : c.narrowPx);
            EXPECT_TRUE(win.left >= 0 && win.top >= 0 && win.right() <= 1920 && win.bottom() <= 1080);
            EXPECT_EQ(1920 - win.right(), ui::Dpi(c.dpi).Px(kScreenRightGap));
            // The right frame line owns the window's last pixel column.
            const Rect frame = h.Pixels(Ctl::P2);
            EXPECT_EQ(frame.right(), win.width);
            EXPECT_GE(frame.width, 1);
            // The grid fills the calendar part down to its bottom gap (a pixel
            // either way, as the window's top edge rounds).
            EXPECT_NEAR(h.Pixels(Ctl::picMain).bottom(), win.height - ui::Dpi(c.dpi).Scale(10), 1);
        }
    }
}

TEST(CalendarDpi, EveryDayIsClickableWhereItIsDrawn) {
    for (const DpiCase& c : kCases) {
        SCOPED_TRACE(c.dpi);
        Harness h;
        StartAt(h, c.dpi);
        h.model.SetHeaderHeight(19 * c.dpi / 96);
        for (int day = 1; day <= 28; ++day) {
            h.ClickDay(day);
            ASSERT_EQ(h.model.SelDay(), day);
        }
        h.model.onTimer(TimerId::T1);
        h.Click(Ctl::Label5);  // captions and buttons answer at their scaled places
        EXPECT_TRUE(h.Visible(Ctl::List1));
    }
}

// Dragged to a screen of another DPI: same size in twips, the place the
// system proposes, everything repainted at the new scale.
TEST(CalendarDpi, MovingToAnotherDpiKeepsTheSizeAndRescales) {
    Harness h;
    StartAt(h, 96);
    h.ClickDay(9);
    const WindowRect before = h.model.windowRect();
    h.model.TakeChanges();
    h.model.onDpiChanged(144, Rect{100, 50, 903, 779});
    const WindowRect after = h.model.windowRect();
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
    EXPECT_EQ(h.w.rect, after);
    EXPECT_EQ(h.model.windowPixels().left, 100);
    EXPECT_EQ(h.model.clientWidthPx(), 902);
    EXPECT_TRUE(h.model.TakeChanges().all);
    h.ClickDay(20);
    EXPECT_EQ(h.model.SelDay(), 20);
}

// Every header the calendar can write, 1900 to 2100 (leap months with "闰"
// included), fits its label whole at every DPI Windows offers.
TEST(CalendarDpi, EveryDateHeaderFitsItsLabels) {
    const ElementSet elements = DesignedElements();
    clsDate cal;
    int widest = 0;
    for (int64_t day = DaysFromCivil(1900, 1, 1); day <= DaysFromCivil(2100, 12, 31); ++day) {
        const CivilDate date = CivilFromDays(day);
        const DateHeader header = MakeDateHeader(date, cal);
        const std::pair<Ctl, const std::string*> lines[] = {
            {Ctl::Label4, &header.Label4}, {Ctl::Label1, &header.Label1}, {Ctl::Label3, &header.Label3}};
        for (const auto& [id, text] : lines) {
            const Element& label = elements[Index(id)];
            for (const DpiCase& c : kCases) {
                const ui::Dpi dpi(c.dpi);
                const int need = ui::TextWidthBound(*text, label.style.fontCentiPt, dpi, label.style.bold);
                widest = std::max(widest, need);
                ASSERT_LE(need, dpi.Px(label.rect).width)
                    << *text << " (" << label.name << ") at " << c.dpi << " on " << date.year << "-" << date.month
                    << "-" << date.day;
            }
        }
    }
    EXPECT_GT(widest, 0);
}

}  // namespace
}  // namespace torvane::calendar
