// Cycles, signs and Chinese numerals.
#include <gtest/gtest.h>

#include <string>

#include "engine/clsDate.h"

namespace torvane {
namespace {

template <class Arg>
struct Known {
    Arg arg;
    std::string_view text;
};

TEST(EngineText, CDayStr) {
    const Known<int> cases[] = {
        {1, "初一"}, {9, "初九"}, {10, "初十"}, {11, "十一"}, {19, "十九"}, {20, "二十"},
        {21, "廿一"}, {29, "廿九"}, {30, "三十"}, {0, ""},    {-1, ""},    {31, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(clsDate::CDayStr(c.arg), c.text) << c.arg;
}

TEST(EngineText, GanZhiAndAnimal) {
    const Known<int> ganZhi[] = {{1864, "甲子"}, {1900, "庚子"}, {1923, "癸亥"}, {1924, "甲子"},
                                 {1984, "甲子"}, {2000, "庚辰"}, {2024, "甲辰"}, {1863, "癸亥"}};
    for (const auto& c : ganZhi) EXPECT_EQ(clsDate::GanZhi(c.arg), c.text) << c.arg;
    const Known<int> animals[] = {{1900, "鼠年"}, {2000, "龙年"}, {2023, "兔年"},
                                  {2024, "龙年"}, {2049, "蛇年"}, {1899, "猪年"}};
    for (const auto& c : animals) EXPECT_EQ(clsDate::YearAttribute(c.arg), c.text) << c.arg;
}

TEST(EngineText, Era) {
    const Known<int> cases[] = {
        {1873, "未知"},           {1874, "清朝光绪元年"},     {1875, "清朝光绪元年"},
        {1876, "清朝光绪二年"},   {1900, "清朝光绪二十六年"}, {1908, "清朝光绪三十四年"},
        {1909, "清朝宣统元年"},   {1910, "清朝宣统二年"},     {1911, "清朝宣统三年"},
        {1912, "中华民国元年"},   {1948, "中华民国三十七年"}, {1949, "中华人民共和国成立了"},
        {2000, "千禧年"},         {1950, "中华人民共和国成立一周年"},
        {1959, "中华人民共和国成立一十周年"},   {1999, "中华人民共和国成立五十周年"},
        {2024, "中华人民共和国成立七十五周年"}, {2049, "中华人民共和国成立一百周年"},
    };
    for (const auto& c : cases) EXPECT_EQ(clsDate::Era(c.arg), c.text) << c.arg;
}

TEST(EngineText, UpNumber) {
    const Known<std::string_view> cases[] = {
        {"1", "一"},          {"10", "一十"},         {"11", "一十一"},     {"34", "三十四"},
        {"100", "一百"},      {"101", "一百零一"},    {"110", "一百一十"},  {"1001", "一千零一"},
        {"1010", "一千零一十"}, {"10010", "一万零一十"}, {"100000", "一十万"}, {"0", ""},
        {" 12 ", "一十二"},   {"", ""},               {"   ", ""},          {"05", "零五"},
        {"1000", "一千"},     {"123456789", "一亿二千三百四十五万六千七百八十九"},
        {"1x", "一十"},       {"1234567890", "一二亿三千四百五十六万七千八百九十"},
        {"十1", "零一"},      // a non-digit character (one UTF-8 character) counts as 0
    };
    for (const auto& c : cases) EXPECT_EQ(clsDate::UpNumber(c.arg), c.text) << '"' << c.arg << '"';
}

TEST(EngineText, Constellations) {
    struct Case { int m, d; std::string_view name; };
    const Case cases[] = {
        {3, 21, "山羊"}, {3, 20, "双鱼"}, {12, 31, "摩蝎"}, {1, 1, "摩蝎"}, {12, 22, "摩蝎"}, {1, 19, "摩蝎"},
        {1, 20, "水瓶"}, {2, 29, "双鱼"}, {6, 22, "巨蟹"}, {10, 23, "天平"}, {10, 24, "天蝎"},
        {2, 30, ""},     {13, 1, ""},     {0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.m) + "-" + std::to_string(c.d));
        EXPECT_EQ(clsDate::Constellation(c.m, c.d), c.name);
        EXPECT_EQ(clsDate::Constellation2(c.m, c.d).empty(), c.name.empty());
    }
    EXPECT_EQ(clsDate::Constellation2(6, 22), "阴性、水象星座守护行星：月亮");
    EXPECT_EQ(clsDate::Constellation2(1, 20), "阳性、风象星座,守护行星：天王星(传统上为土星)");
    EXPECT_EQ(clsDate::Constellation2(11, 1), "阴性、水象星座，守护行星：冥王星(传统上为火星)");
}

TEST(EngineText, WeekDay) {
    const std::string_view names[] = {"星期六", "星期日", "星期一", "星期二", "星期三", "星期四", "星期五"};
    clsDate date;
    EXPECT_EQ(date.sWeekDay(), 0);  // not positioned yet
    EXPECT_EQ(date.sWeekDayStr(), "");
    for (int i = 0; i < 7; ++i) {
        date.sInitDate(2000, 1, 1 + i);  // 2000-01-01 was a Saturday
        EXPECT_EQ(date.sWeekDay(), (i + 6) % 7 + 1) << i;
        EXPECT_EQ(date.sWeekDayStr(), names[i]) << i;
    }
    date.sInitDate(1900, 1, 31);
    EXPECT_EQ(date.sWeekDay(), 4);  // a Wednesday
}

TEST(EngineText, IsToday) {
    const CivilDate today{2024, 2, 29};
    EXPECT_TRUE(clsDate::IsToday(2024, 2, 29, today));
    EXPECT_FALSE(clsDate::IsToday(2024, 2, 28, today));
    EXPECT_FALSE(clsDate::IsToday(2023, 2, 29, today));
}

}  // namespace
}  // namespace torvane
