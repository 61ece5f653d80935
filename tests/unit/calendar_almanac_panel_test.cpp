// The day's almanac in the day panel: its lines for the selected day, and its
// place in the panel's top band at every DPI.
#include <gtest/gtest.h>

#include <vector>

#include "calendar/day_panel.h"
#include "calendar_fakes.h"
#include "ui/text_width.h"

namespace torvane::calendar {
namespace {

using testing::Harness;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

std::string PanelAlmanac(SelDate sel) {
    clsDate cal;
    return ShowDayInfo(sel, cal, TextTables{}).Almanac;
}

bool StartsWith(const std::string& text, std::string_view prefix) { return text.rfind(prefix, 0) == 0; }

// Each line leads with its subject, so a reader finds 宜 and 忌 by their mark.
TEST(CalendarAlmanacPanel, LinesInTheirOrder) {
    const SelDate days[] = {{2014, 2, 14}, {1900, 1, 7}, {2049, 12, 31}, {2025, 10, 1}, {2000, 2, 29}};
    for (const SelDate& sel : days) {
        SCOPED_TRACE(std::to_string(sel.year) + "-" + std::to_string(sel.month) + "-" + std::to_string(sel.day));
        const std::vector<std::string> lines = Lines(PanelAlmanac(sel));
        ASSERT_EQ(lines.size(), 5u);
        const bool huangdao = lines[0].ends_with("(黄道)");
        EXPECT_TRUE(huangdao || lines[0].ends_with("(黑道)")) << lines[0];
        EXPECT_TRUE(StartsWith(lines[1], "宜：")) << lines[1];
        EXPECT_TRUE(StartsWith(lines[2], "忌：")) << lines[2];
        EXPECT_TRUE(StartsWith(lines[3], "冲")) << lines[3];
        EXPECT_NE(lines[3].find(" 煞"), std::string::npos) << lines[3];
        EXPECT_TRUE(StartsWith(lines[4], "彭祖百忌：")) << lines[4];
        for (const std::string& line : lines) EXPECT_FALSE(line.ends_with("：")) << "an empty field: " << line;
    }
}

// The year pillar turns on the day of 立春 (4 February 2014), not at the
// lunar new year (31 January 2014).
TEST(CalendarAlmanacPanel, YearPillarTurnsAtTheStartOfSpring) {
    struct Case { SelDate sel; std::string_view yearPillar; };
    const Case cases[] = {
        {{2014, 1, 30}, "癸巳年 "}, {{2014, 1, 31}, "癸巳年 "}, {{2014, 2, 3}, "癸巳年 "},
        {{2014, 2, 4}, "甲午年 "}, {{2014, 2, 5}, "甲午年 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sel.day);
        EXPECT_TRUE(StartsWith(PanelAlmanac(c.sel), c.yearPillar)) << PanelAlmanac(c.sel);
    }
}

// Consecutive days across month and year ends: the panel describes the day
// selected, whose day pillar is the next of the sexagenary cycle.
TEST(CalendarAlmanacPanel, TheSelectedDayNotItsNeighbour) {
    const SelDate firsts[] = {{2013, 12, 30}, {2014, 2, 27}, {2016, 2, 28}, {1983, 7, 30}};
    for (const SelDate& first : firsts) {
        int64_t day = DaysFromCivil(first.year, first.month, first.day);
        for (int step = 0; step < 4; ++step, ++day) {
            const CivilDate d = CivilFromDays(day), next = CivilFromDays(day + 1);
            const std::string today = Lines(PanelAlmanac({d.year, d.month, d.day}))[0];
            const std::string tomorrow = Lines(PanelAlmanac({next.year, next.month, next.day}))[0];
            const int pillar = AlmanacOfDay(day).dayPillar;
            SCOPED_TRACE(today + " / " + tomorrow);
            EXPECT_NE(today.find(std::string(almanac::PillarName(pillar)) + "日"), std::string::npos);
            EXPECT_NE(tomorrow.find(std::string(almanac::PillarName((pillar + 1) % almanac::kPillars)) + "日"),
                      std::string::npos);
        }
    }
}

TEST(CalendarAlmanacPanel, EmptyListsAndDaysWithoutAnAlmanac) {
    // 1900-01-07 has nothing it is bad for: the line says so rather than end bare.
    EXPECT_EQ(Lines(PanelAlmanac({1900, 1, 7}))[2], "忌：无");
    EXPECT_EQ(AlmanacText(Almanac{}), "");
}

// Clicks and keys refresh it with the rest of the panel.
TEST(CalendarAlmanacPanel, FollowsTheSelection) {
    Harness h;
    h.Start();
    h.ClickDay(9);
    const std::string ninth = h.Text(Ctl::Almanac);
    EXPECT_EQ(ninth, PanelAlmanac(h.model.selected()));
    h.model.onKeyDown(39);  // Right
    EXPECT_EQ(h.model.SelDay(), 10);
    EXPECT_EQ(h.Text(Ctl::Almanac), PanelAlmanac(h.model.selected()));
    EXPECT_NE(h.Text(Ctl::Almanac), ninth);
}

// In the band above the heading, clear of the collapse button, with room for
// two lines; its first line (pillars, officer, deity) is never cut, for any
// day 1900-2100 at any DPI Windows offers.
TEST(CalendarAlmanacPanel, ItsPlaceHoldsTheFirstLineWholeAtEveryDpi) {
    int widest = 0;
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        Harness h;
        h.w.screen = ScreenInfo{1920, 1080, dpi};
        h.Start();
        h.ClickDay(15);
        const Rect place = h.Pixels(Ctl::Almanac);
        const Element& label = h.model.element(Ctl::Almanac);
        const int em = ui::EmPixels(label.style.fontCentiPt, ui::Dpi(dpi));
        EXPECT_TRUE(label.visible);
        EXPECT_GE(place.height, 2 * em);
        EXPECT_LE(place.bottom(), h.Pixels(Ctl::L0).top);
        EXPECT_LE(place.right(), h.Pixels(Ctl::I11).left);
        EXPECT_GE(place.left, h.Pixels(Ctl::Image6).left);
        EXPECT_GE(place.top, 0);
        if (dpi != 96 && dpi != 192) continue;  // the sweep at the two extremes
        for (int64_t day = DaysFromCivil(1900, 1, 1); day <= DaysFromCivil(2100, 12, 31); day += 1) {
            const std::string first = Lines(AlmanacText(AlmanacOfDay(day)))[0];
            const int need = ui::TextWidthBound(first, label.style.fontCentiPt, ui::Dpi(dpi), label.style.bold);
            widest = std::max(widest, need);
            ASSERT_LE(need, place.width) << first << " on day " << day;
        }
    }
    EXPECT_GT(widest, 0);
}

}  // namespace
}  // namespace torvane::calendar
