// The almanac of a day: known days at the boundaries, then every day of
// 1900-2100 against the traditional rules, each written out as its own table.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/almanac.h"

namespace torvane {
namespace {

using namespace almanac;

std::string Iso(const CivilDate& d) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

Almanac On(int y, int m, int d) { return AlmanacOfDay(DaysFromCivil(y, m, d)); }

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator) parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

TEST(EngineAlmanac, PillarsAtTheBoundaries) {
    struct Case { CivilDate day; const char *year, *month, *dayPillar, *why; };
    const Case cases[] = {
        {{1900, 1, 1}, "己亥", "丙子", "甲戌", "first day: the 子 month of 1899's pillar year"},
        {{1900, 1, 6}, "己亥", "丁丑", "己卯", "小寒 1900 opens the 丑 month"},
        {{2021, 2, 2}, "庚子", "己丑", "辛巳", "the day before 立春"},
        {{2021, 2, 3}, "辛丑", "庚寅", "壬午", "立春 at 22:59, nine days before the lunar new year"},
        {{2021, 2, 12}, "辛丑", "庚寅", "辛卯", "lunar new year after 立春"},
        {{2023, 1, 22}, "壬寅", "癸丑", "庚辰", "lunar new year before 立春: the old pillar year goes on"},
        {{2023, 2, 3}, "壬寅", "癸丑", "壬辰", ""},
        {{2023, 2, 4}, "癸卯", "甲寅", "癸巳", "立春 2023"},
        {{2024, 2, 10}, "甲辰", "丙寅", "甲辰", "lunar new year 2024"},
        {{2020, 12, 6}, "庚子", "丁亥", "癸未", ""},
        {{2020, 12, 7}, "庚子", "戊子", "甲申", "大雪 at 00:09, early in the day"},
        {{1983, 12, 7}, "癸亥", "癸亥", "己巳", "the last month of the cycle"},
        {{1983, 12, 8}, "癸亥", "甲子", "庚午", "大雪 wraps the month cycle"},
        {{1984, 2, 3}, "癸亥", "乙丑", "丁卯", ""},
        {{1984, 2, 4}, "甲子", "丙寅", "戊辰", "立春 at 23:19 wraps the year cycle"},
        {{2024, 2, 29}, "甲辰", "丙寅", "癸亥", ""},
        {{2024, 3, 1}, "甲辰", "丙寅", "甲子", "the day cycle wraps"},
        {{2000, 1, 1}, "己卯", "丙子", "戊午", ""},
        {{2100, 12, 31}, "庚申", "戊子", "丁未", "last day"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Iso(c.day) + " " + c.why);
        const Almanac a = On(c.day.year, c.day.month, c.day.day);
        ASSERT_TRUE(a.valid);
        EXPECT_EQ(PillarName(a.yearPillar), c.year);
        EXPECT_EQ(PillarName(a.monthPillar), c.month);
        EXPECT_EQ(PillarName(a.dayPillar), c.dayPillar);
    }
}

TEST(EngineAlmanac, OfficerDeityClashAndShaOfKnownDays) {
    struct Case { CivilDate day; const char *officer, *deity, *huangdao, *chong, *sha; };
    const Case cases[] = {
        {{2024, 2, 10}, "满", "金匮", "黄道", "冲狗(戊戌)", "煞南"},
        {{2024, 2, 6}, "开", "青龙", "黄道", "冲马(甲午)", "煞南"},
        {{2024, 2, 8}, "建", "天刑", "黑道", "冲猴(丙申)", "煞北"},   // 寅 day of the 寅 month
        {{2024, 2, 3}, "成", "勾陈", "黑道", "冲兔(辛卯)", "煞东"},   // the day before 立春 ...
        {{2024, 2, 4}, "成", "司命", "黄道", "冲龙(壬辰)", "煞北"},   // ... repeats its officer
        {{2020, 12, 7}, "成", "青龙", "黄道", "冲虎(戊寅)", "煞南"},  // 子 month: 青龙 on 申
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Iso(c.day));
        const Almanac a = On(c.day.year, c.day.month, c.day.day);
        EXPECT_EQ(OfficerName(a.officer), c.officer);
        EXPECT_EQ(DeityName(a.deity), c.deity);
        EXPECT_EQ(HuangdaoName(a.Huangdao()), c.huangdao);
        EXPECT_EQ(ClashText(a.clashPillar), c.chong);
        EXPECT_EQ(ShaText(a.sha), c.sha);
    }
}

TEST(EngineAlmanac, NoAlmanacOutsideItsYearsOrWithoutADay) {
    const int64_t days[] = {DaysFromCivil(1899, 12, 31), DaysFromCivil(2101, 1, 1), INT64_MIN, INT64_MAX};
    for (const int64_t day : days) {
        SCOPED_TRACE(day);
        EXPECT_EQ(AlmanacOfDay(day), Almanac{});
    }
    EXPECT_FALSE(AlmanacOf(clsDate{}).valid);
    clsDate date;
    date.sInitDate(2024, 2, 30);  // carried to 1 March
    EXPECT_EQ(AlmanacOf(date), On(2024, 3, 1));
}

TEST(EngineAlmanac, NamesOutsideTheirTablesAreEmpty) {
    for (const int bad : {-1, 60, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(bad);
        for (const auto name : {PillarName, ClashText, OfficerName, DeityName, ShaText, PengzuOfStem, PengzuOfBranch}) {
            EXPECT_EQ(name(bad), "");
        }
    }
    EXPECT_EQ(ActivityName(ActivityCount()), "");
    EXPECT_EQ(ActivityName(-1), "");
}

// The traditional rules, each as its own table rather than as the engine's arithmetic.
const std::map<std::string, std::string> kJieBranch = {
    {"小寒", "丑"}, {"立春", "寅"}, {"惊蛰", "卯"}, {"清明", "辰"}, {"立夏", "巳"}, {"芒种", "午"},
    {"小暑", "未"}, {"立秋", "申"}, {"白露", "酉"}, {"寒露", "戌"}, {"立冬", "亥"}, {"大雪", "子"}};
// 寅申需加子，卯酉却居寅，辰戌龙位上，巳亥午中寻，子午临申地，丑未戌上行.
const std::map<std::string, std::string> kQinglongBranch = {
    {"寅", "子"}, {"申", "子"}, {"卯", "寅"}, {"酉", "寅"}, {"辰", "辰"}, {"戌", "辰"},
    {"巳", "午"}, {"亥", "午"}, {"子", "申"}, {"午", "申"}, {"丑", "戌"}, {"未", "戌"}};
const std::vector<std::string> kHuangdaoDeities = {"青龙", "明堂", "金匮", "天德", "玉堂", "司命"};
// 甲己之年丙作首, 乙庚之岁戊为头, 丙辛必定寻庚起, 丁壬壬位顺行流, 戊癸何方发, 甲寅之上好追求.
const std::map<std::string, std::string> kFirstMonthStem = {
    {"甲", "丙"}, {"己", "丙"}, {"乙", "戊"}, {"庚", "戊"}, {"丙", "庚"},
    {"辛", "庚"}, {"丁", "壬"}, {"壬", "壬"}, {"戊", "甲"}, {"癸", "甲"}};
const std::map<std::string, std::string> kSha = {
    {"申", "煞南"}, {"子", "煞南"}, {"辰", "煞南"}, {"亥", "煞西"}, {"卯", "煞西"}, {"未", "煞西"},
    {"寅", "煞北"}, {"午", "煞北"}, {"戌", "煞北"}, {"巳", "煞东"}, {"酉", "煞东"}, {"丑", "煞东"}};
const std::map<std::string, std::string> kOpposite = {
    {"子", "午"}, {"丑", "未"}, {"寅", "申"}, {"卯", "酉"}, {"辰", "戌"}, {"巳", "亥"},
    {"午", "子"}, {"未", "丑"}, {"申", "寅"}, {"酉", "卯"}, {"戌", "辰"}, {"亥", "巳"}};
const std::map<std::string, std::string> kAnimal = {
    {"子", "鼠"}, {"丑", "牛"}, {"寅", "虎"}, {"卯", "兔"}, {"辰", "龙"}, {"巳", "蛇"},
    {"午", "马"}, {"未", "羊"}, {"申", "猴"}, {"酉", "鸡"}, {"戌", "狗"}, {"亥", "猪"}};
// The clashing pillar's stem is the one the day's stem overcomes.
const std::map<std::string, std::string> kClashStem = {
    {"甲", "戊"}, {"乙", "己"}, {"丙", "庚"}, {"丁", "辛"}, {"戊", "壬"},
    {"己", "癸"}, {"庚", "甲"}, {"辛", "乙"}, {"壬", "丙"}, {"癸", "丁"}};

std::string Stem(int pillar) { return std::string(PillarName(pillar).substr(0, 3)); }
std::string Branch(int pillar) { return std::string(PillarName(pillar).substr(3)); }
int Step(int from, int to, int cycle) { return ((to - from) % cycle + cycle) % cycle; }

// What must hold between a day and the day before it.
void CheckAgainstDayBefore(const Almanac& a, const Almanac& before, std::string_view term) {
    EXPECT_EQ(Step(before.dayPillar, a.dayPillar, 60), 1);
    const auto jie = kJieBranch.find(std::string(term));
    if (jie != kJieBranch.end()) {
        EXPECT_EQ(Branch(a.monthPillar), jie->second);
        EXPECT_EQ(Step(before.monthPillar, a.monthPillar, 60), 1);
        EXPECT_EQ(a.officer, before.officer) << "the officer repeats on the day of a 节";
    } else {
        EXPECT_EQ(a.monthPillar, before.monthPillar);
        EXPECT_EQ(Step(before.officer, a.officer, 12), 1);
        EXPECT_EQ(Step(before.deity, a.deity, 12), 1);
    }
    EXPECT_EQ(Step(before.yearPillar, a.yearPillar, 60), term == "立春" ? 1 : 0);
}

// What must hold within the day.
void CheckDay(const Almanac& a) {
    const std::string dayStem = Stem(a.dayPillar), dayBranch = Branch(a.dayPillar);
    const std::string monthBranch = Branch(a.monthPillar);
    EXPECT_EQ(OfficerName(a.officer) == "建", dayBranch == monthBranch);
    EXPECT_EQ(OfficerName(a.officer) == "破", dayBranch == kOpposite.at(monthBranch));
    EXPECT_EQ(DeityName(a.deity) == "青龙", dayBranch == kQinglongBranch.at(monthBranch));
    const bool good = std::ranges::count(kHuangdaoDeities, std::string(DeityName(a.deity))) == 1;
    EXPECT_EQ(a.Huangdao(), good);
    if (monthBranch == "寅") {
        EXPECT_EQ(Stem(a.monthPillar), kFirstMonthStem.at(Stem(a.yearPillar)));
    }
    const std::string clashBranch = kOpposite.at(dayBranch);
    EXPECT_EQ(ClashText(a.clashPillar), "冲" + kAnimal.at(clashBranch) + "(" + kClashStem.at(dayStem) + clashBranch + ")");
    EXPECT_EQ(ShaText(a.sha), kSha.at(dayBranch));
    EXPECT_TRUE(PengzuOfStem(StemOf(a.dayPillar)).starts_with(dayStem + "不"));
    EXPECT_TRUE(PengzuOfBranch(BranchOf(a.dayPillar)).starts_with(dayBranch + "不"));
    for (const auto list : {a.Yi(), a.Ji()}) {
        for (const uint8_t id : list) EXPECT_NE(ActivityName(id), "");
    }
    for (const uint8_t id : a.Yi()) EXPECT_EQ(std::ranges::count(a.Ji(), id), 0) << ActivityName(id);
}

TEST(EngineAlmanac, EveryDayFollowsTheRules) {
    const int64_t first = DaysFromCivil(1900, 1, 1), last = DaysFromCivil(2100, 12, 31);
    clsDate date;
    Almanac before = AlmanacOfDay(first);
    CheckDay(before);
    int yiLists = 0;
    for (int64_t day = first + 1; day <= last; ++day) {
        const CivilDate civil = CivilFromDays(day);
        date.sInitDate(civil.year, civil.month, civil.day);
        const Almanac a = AlmanacOf(date);
        SCOPED_TRACE(Iso(civil));
        ASSERT_TRUE(a.valid);
        CheckAgainstDayBefore(a, before, date.lSolarTerm());
        CheckDay(a);
        yiLists += a.Yi().empty() ? 0 : 1;
        if (HasFailure()) return;  // one day's story is enough
        before = a;
    }
    EXPECT_GT(yiLists, (last - first) * 99 / 100) << "nearly every day is good for something";
}

TEST(EngineAlmanac, CommandLineOfADay) {
    const CivilDate day{2024, 2, 10};
    const std::vector<std::string> header = Split(std::string(LineHeader()), '\t');
    const std::vector<std::string> fields = Split(Line(day, On(day.year, day.month, day.day)), '\t');
    ASSERT_EQ(fields.size(), header.size());
    // The 寅 month's 甲辰 day in the 宜/忌 table.
    const std::map<std::string, std::string> expected = {
        {"date", "2024-02-10"}, {"year_pillar", "甲辰"}, {"month_pillar", "丙寅"}, {"day_pillar", "甲辰"},
        {"officer", "满"}, {"deity", "金匮"}, {"huangdao", "黄道"}, {"chong", "冲狗(戊戌)"}, {"sha", "煞南"},
        {"pengzu", "甲不开仓财物耗散 辰不哭泣必主重丧"},
        {"yi", "嫁娶 开光 求嗣 会亲友 安床 牧养 塑绘 针灸"},
        {"ji", "入宅 移徙 出火 分居 安香 作灶 开市 交易 立券 安葬 动土 伐木"}};
    for (size_t i = 0; i < header.size(); ++i) {
        SCOPED_TRACE(header[i]);
        EXPECT_EQ(fields[i], expected.at(header[i]));
    }
}

TEST(EngineAlmanac, ActivityListsAreSpaceSeparatedOrNone) {
    // 1900-01-07 (丁丑 month, 庚辰 day) is bad for nothing the table lists.
    const Almanac a = On(1900, 1, 7);
    ASSERT_TRUE(a.Ji().empty());
    const std::vector<std::string> fields = Split(Line({1900, 1, 7}, a), '\t');
    EXPECT_EQ(fields.back(), "无");
    const std::vector<std::string> yi = Split(fields[fields.size() - 2], ' ');
    ASSERT_EQ(yi.size(), a.Yi().size());
    for (size_t i = 0; i < yi.size(); ++i) EXPECT_EQ(yi[i], ActivityName(a.Yi()[i]));
    EXPECT_EQ(JoinActivities({}), "无");
}

TEST(EngineAlmanac, ParseIsoDate) {
    struct Case { const char* text; std::optional<CivilDate> day; };
    const Case cases[] = {
        {"2024-02-10", CivilDate{2024, 2, 10}}, {"2024-02-29", CivilDate{2024, 2, 29}},
        {"1900-01-01", CivilDate{1900, 1, 1}},  {"2023-02-29", std::nullopt},
        {"2024-13-01", std::nullopt},           {"2024-00-10", std::nullopt},
        {"2024-04-31", std::nullopt},           {"2024-2-10", std::nullopt},
        {"2024/02/10", std::nullopt},           {"20240210", std::nullopt},
        {"2024-02-1x", std::nullopt},           {"", std::nullopt},
        {" 2024-02-10", std::nullopt},          {"+024-02-10", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseIsoDate(c.text), c.day);
    }
}

}  // namespace
}  // namespace torvane
