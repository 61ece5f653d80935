// The day panel (ShowDayInfo), the date header and the clock texts.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "calendar/day_panel.h"
#include "calendar/header.h"
#include "calendar_fakes.h"

namespace torvane::calendar {
namespace {

TextTables Tables() {
    TextTables tables;
    tables.Set(TextTableId::BirthdayByDayOfMonth, testing::BirthdayTable());
    tables.Set(TextTableId::ZodiacStories, testing::StoryTable());
    return tables;
}

DayInfo Describe(SelDate sel, const TextTables& tables = Tables()) {
    clsDate cal;
    return ShowDayInfo(sel, cal, tables);
}

TEST(CalendarPanel, DescribesAFestivalDay) {
    const DayInfo info = Describe({2014, 2, 14});
    EXPECT_EQ(info.L[0], "日程信息 (2014年2月14日)\r\n");
    EXPECT_EQ(info.L[1], "年份：中华人民共和国成立六十五周年\r\n");
    EXPECT_EQ(info.L[2], "公历：2014年2月14日 星期五\r\n");
    EXPECT_EQ(info.L[3], "农历：甲午(马年)年一月十五\r\n");
    EXPECT_EQ(info.L[4], "公历节日：情人节 \r\n");
    EXPECT_EQ(info.L[5], "农历节日：元宵节\r\n");
    EXPECT_EQ(info.L[6], "性格14\r\n");
    EXPECT_EQ(info.L[7], "属相：马年");
    EXPECT_EQ(info.Label16, "情人节 ");
    EXPECT_EQ(info.Label15, "元宵节");
    EXPECT_EQ(info.Text1, "马：马年的故事\r\n第二行\r\n");
    // A week-based festival follows the space.
    EXPECT_EQ(Describe({2014, 5, 11}).Label16, " 国际母亲节");
}

TEST(CalendarPanel, MarksALeapMonthDay) {
    EXPECT_EQ(Describe({2014, 10, 24}).L[3], "农历：甲午(马年)年闰九月初一\r\n");
    EXPECT_EQ(Describe({2014, 10, 23}).L[3], "农历：甲午(马年)年九月三十\r\n");
}

TEST(CalendarPanel, DayWithoutFestivals) {
    const DayInfo info = Describe({2014, 3, 4});
    EXPECT_EQ(info.L[4], "公历节日： \r\n");
    EXPECT_EQ(info.L[5], "农历节日：\r\n");
    EXPECT_EQ(info.Label16, " ");
    EXPECT_EQ(info.Label15, "");
}

TEST(CalendarPanel, BirthdayEntriesAndMissingOrShortTables) {
    EXPECT_EQ(Describe({2014, 5, 1}).L[6], "性格1\r\n");
    EXPECT_EQ(Describe({2014, 5, 31}).L[6], "性格31\r\n");
    const DayInfo empty = Describe({2014, 5, 31}, TextTables{});
    EXPECT_EQ(empty.L[6], "\r\n");
    EXPECT_EQ(empty.Text1, std::nullopt);
    TextTables shortTables;
    shortTables.Set(TextTableId::BirthdayByDayOfMonth, "只有一行");
    EXPECT_EQ(Describe({2014, 5, 31}, shortTables).L[6], "\r\n");
    EXPECT_EQ(Describe({2014, 5, 0}, shortTables).L[6], "\r\n");
}

TEST(CalendarPanel, StoryIsFoundByTheYearTextNotTheLeadingCharacter) {
    TextTable stories = SplitTextTable("馬：没有年份的故事\r\n羊：这是马年的故事\\n完");
    EXPECT_EQ(FindZodiacStory(stories, "马年"), "羊：这是马年的故事\r\n完\r\n");
    EXPECT_EQ(FindZodiacStory(stories, "鼠年"), std::nullopt);
    EXPECT_EQ(FindZodiacStory(stories, ""), std::nullopt);
    // A trailing lone backslash is kept as it is.
    EXPECT_EQ(FindZodiacStory(SplitTextTable("鼠年\\"), "鼠年"), "鼠年\\\r\n");
}

// The shipped tables (LF in the repository, CR LF once built) give every
// year a story and every day of the month a character sketch.
TEST(CalendarPanel, ShippedTablesCoverEveryYearAndDay) {
    const auto load = [](const char* name) {
        std::ifstream in(std::string(TORVANE_SOURCE_DIR) + "/resources/text/" + name);
        std::stringstream lf;
        lf << in.rdbuf();
        std::string crlf;
        for (char c : lf.str()) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return crlf;
    };
    TextTables tables;
    tables.Set(TextTableId::ZodiacStories, load("103-ZodiacStories.txt"));
    tables.Set(TextTableId::BirthdayByDayOfMonth, load("105-BirthdayByDayOfMonth.txt"));
    for (int year = 1900; year <= 2049; ++year)
        EXPECT_TRUE(Describe({year, 6, 1}, tables).Text1.has_value()) << year;
    for (int day = 1; day <= 31; ++day)
        EXPECT_GT(Describe({2014, 1, day}, tables).L[6].size(), 10u) << day;
}

TEST(CalendarHeader, DateLinesForToday) {
    clsDate cal;
    const DateHeader wednesday = MakeDateHeader({2014, 2, 5}, cal);
    EXPECT_EQ(wednesday.Label4, "[马年]  一月初六");
    EXPECT_EQ(wednesday.Label3, "周三");
    EXPECT_EQ(wednesday.Label1, "2014年2月5日 周三");
    EXPECT_EQ(MakeDateHeader({2014, 2, 8}, cal).Label1, "2014年2月8日 周六");
}

// The stem-branch and the animal belong to the lunar year, which turns at the
// lunar new year; a leap month is marked in the header as in the panel. A day
// outside the lunar table has no lunar year and keeps the Gregorian one.
TEST(CalendarLunarYear, HeaderAndPanelNameTheLunarYearOfTheDay) {
    struct Case {
        CivilDate day;
        const char* panel;   // L[3]
        const char* header;  // Label4
        const char* animal;
    };
    const Case cases[] = {
        {{2027, 1, 15}, "农历：丙午(马年)年十二月初八\r\n", "[马年]  十二月初八", "马年"},
        {{2027, 2, 5}, "农历：丙午(马年)年十二月廿九\r\n", "[马年]  十二月廿九", "马年"},
        {{2027, 2, 6}, "农历：丁未(羊年)年一月初一\r\n", "[羊年]  一月初一", "羊年"},
        {{2014, 1, 30}, "农历：癸巳(蛇年)年十二月三十\r\n", "[蛇年]  十二月三十", "蛇年"},
        {{2023, 4, 10}, "农历：癸卯(兔年)年闰二月二十\r\n", "[兔年]  闰二月二十", "兔年"},
        {{2023, 3, 21}, "农历：癸卯(兔年)年二月三十\r\n", "[兔年]  二月三十", "兔年"},
        {{2050, 1, 22}, "农历：己巳(蛇年)年十二月廿九\r\n", "[蛇年]  十二月廿九", "蛇年"},
        {{1900, 1, 30}, "农历：庚子(鼠年)年\r\n", "[鼠年]  ", "鼠年"},
        {{2050, 1, 23}, "农历：庚午(马年)年\r\n", "[马年]  ", "马年"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.day.year) + "-" + std::to_string(c.day.month) + "-" +
                     std::to_string(c.day.day));
        const DayInfo info = Describe({c.day.year, c.day.month, c.day.day});
        EXPECT_EQ(info.L[3], c.panel);
        EXPECT_EQ(info.L[7], std::string("属相：") + c.animal);
        ASSERT_TRUE(info.Text1.has_value());
        EXPECT_NE(info.Text1->find(c.animal), std::string::npos) << *info.Text1;
        clsDate cal;
        EXPECT_EQ(MakeDateHeader(c.day, cal).Label4, c.header);
    }
}

TEST(CalendarHeader, ClockTextsAroundNoonAndMidnight) {
    struct Case { int h, m, s; const char* time; const char* word; };
    const Case cases[] = {
        {11, 59, 59, "11:59:59", "上午"}, {12, 0, 0, "12:00:00", "下午"},
        {0, 0, 0, "00:00:00", "上午"},    {23, 59, 59, "23:59:59", "下午"},
        {9, 5, 3, "09:05:03", "上午"},    {21, 5, 3, "21:05:03", "下午"},
    };
    for (const Case& c : cases) {
        const ClockTexts t = MakeClockTexts({2014, 2, 5, c.h, c.m, c.s});
        EXPECT_EQ(t.Label2, c.time);
        EXPECT_EQ(t.La, c.word) << c.time;
    }
}

}  // namespace
}  // namespace torvane::calendar
