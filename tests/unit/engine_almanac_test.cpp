// The almanac of a day: known days at the boundaries, then every day of
// 1900-2100 against the traditional rules, each written out as its own table.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <utility>
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

TEST(EngineAlmanac, PillarsAtTheBoundaries) {
    struct Case { CivilDate day; const char *year, *month, *dayPillar, *why; };
    const Case cases[] = {
        {{1900, 1, 1}, "己亥", "丙子", "甲戌", "first day: the 子 month of 1899's pillar year"},
        {{1900, 1, 6}, "己亥", "丁丑", "己卯", "小寒 1900 opens the 丑 month"},
        {{2021, 2, 2}, "庚子", "己丑", "辛巳", "the day before 立春"},
        {{2021, 2, 3}, "辛丑", "庚寅", "壬午", "立春 at 22:59, nine days before the lunar new year"},
        {{2021, 2, 12}, "辛丑", "庚寅", "辛卯", "lunar new year after 立春"},
        {{2023, 1, 22}, "壬寅", "癸丑", "庚辰", "lunar new year before 立春: the old pillar year goes on"},
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

TEST(EngineAlmanac, NothingOutsideTheTables) {
    for (const int64_t day : {DaysFromCivil(1899, 12, 31), DaysFromCivil(2101, 1, 1), INT64_MIN, INT64_MAX}) {
        EXPECT_EQ(AlmanacOfDay(day), Almanac{}) << day;
    }
    EXPECT_FALSE(AlmanacOf(clsDate{}).valid);
    EXPECT_EQ(Line({1899, 12, 31}, Almanac{}), "1899-12-31" + std::string(11, '\t'));
    clsDate date;
    date.sInitDate(2024, 2, 30);  // carried to 1 March
    EXPECT_EQ(AlmanacOf(date), On(2024, 3, 1));
    for (const int bad : {-1, 60, INT_MIN, INT_MAX}) {
        for (const auto name : {PillarName, ClashText, OfficerName, DeityName, ShaText, PengzuOfStem, PengzuOfBranch}) {
            EXPECT_EQ(name(bad), "") << bad;
        }
    }
    EXPECT_EQ(ActivityName(ActivityCount()), "");
}

// The traditional rules, each as its own table rather than as the engine's
// arithmetic: one character per branch (子 first) or per stem (甲 first).
constexpr std::string_view kStems = "甲乙丙丁戊己庚辛壬癸", kBranches = "子丑寅卯辰巳午未申酉戌亥";
constexpr std::string_view kJieTerms = "小寒立春惊蛰清明立夏芒种小暑立秋白露寒露立冬大雪";
constexpr std::string_view kJieOpens = "丑寅卯辰巳午未申酉戌亥子";
constexpr std::string_view kQinglongByMonth = "申戌子寅辰午申戌子寅辰午";  // 寅申需加子，卯酉却居寅 ...
constexpr std::string_view kFirstMonthStem = "丙戊庚壬甲丙戊庚壬甲";       // 甲己之年丙作首 ...
constexpr std::string_view kShaByBranch = "南东北西南东北西南东北西";      // 申子辰煞南 ...
constexpr std::string_view kOpposite = "午未申酉戌亥子丑寅卯辰巳";
constexpr std::string_view kAnimal = "鼠牛虎兔龙蛇马羊猴鸡狗猪";
constexpr std::string_view kClashStem = "戊己庚辛壬癸甲乙丙丁";  // the stem the day's stem overcomes
const std::vector<std::string_view> kHuangdaoDeities = {"青龙", "明堂", "金匮", "天德", "玉堂", "司命"};

std::string At(std::string_view chars, size_t i) { return std::string(chars.substr(i * 3, 3)); }
size_t IndexOf(std::string_view chars, std::string_view c) { return chars.find(c) / 3; }
std::string Stem(int pillar) { return std::string(PillarName(pillar).substr(0, 3)); }
std::string Branch(int pillar) { return std::string(PillarName(pillar).substr(3)); }
int Step(int from, int to, int cycle) { return ((to - from) % cycle + cycle) % cycle; }

// What must hold between a day and the day before it.
void CheckAgainstDayBefore(const Almanac& a, const Almanac& before, std::string_view term) {
    EXPECT_EQ(Step(before.dayPillar, a.dayPillar, 60), 1);
    const size_t jie = term.empty() ? std::string_view::npos : kJieTerms.find(term);
    if (jie != std::string_view::npos && jie % 6 == 0) {
        EXPECT_EQ(Branch(a.monthPillar), At(kJieOpens, jie / 6));
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
    const size_t stem = IndexOf(kStems, Stem(a.dayPillar)), branch = IndexOf(kBranches, Branch(a.dayPillar));
    const size_t monthBranch = IndexOf(kBranches, Branch(a.monthPillar));
    EXPECT_EQ(OfficerName(a.officer) == "建", branch == monthBranch);
    EXPECT_EQ(OfficerName(a.officer) == "破", At(kBranches, branch) == At(kOpposite, monthBranch));
    EXPECT_EQ(DeityName(a.deity) == "青龙", At(kBranches, branch) == At(kQinglongByMonth, monthBranch));
    EXPECT_EQ(a.Huangdao(), std::ranges::count(kHuangdaoDeities, DeityName(a.deity)) == 1);
    if (monthBranch == 2) {  // 寅
        EXPECT_EQ(Stem(a.monthPillar), At(kFirstMonthStem, IndexOf(kStems, Stem(a.yearPillar))));
    }
    const std::string clash = At(kOpposite, branch);
    EXPECT_EQ(ClashText(a.clashPillar),
              "冲" + At(kAnimal, IndexOf(kBranches, clash)) + "(" + At(kClashStem, stem) + clash + ")");
    EXPECT_EQ(ShaText(a.sha), "煞" + At(kShaByBranch, branch));
    EXPECT_TRUE(PengzuOfStem(StemOf(a.dayPillar)).starts_with(At(kStems, stem) + "不"));
    EXPECT_TRUE(PengzuOfBranch(BranchOf(a.dayPillar)).starts_with(At(kBranches, branch) + "不"));
    for (const uint8_t id : a.Ji()) EXPECT_NE(ActivityName(id), "");
    for (const uint8_t id : a.Yi()) {
        EXPECT_NE(ActivityName(id), "");
        EXPECT_EQ(std::ranges::count(a.Ji(), id), 0) << "both 宜 and 忌: " << ActivityName(id);
    }
}

TEST(EngineAlmanac, EveryDayFollowsTheRules) {
    const int64_t first = DaysFromCivil(1900, 1, 1), last = DaysFromCivil(2100, 12, 31);
    clsDate date;
    Almanac before = AlmanacOfDay(first);
    CheckDay(before);
    int64_t goodForSomething = 0;
    for (int64_t day = first + 1; day <= last && !HasFailure(); ++day) {  // one failing day is enough
        const CivilDate civil = CivilFromDays(day);
        date.sInitDate(civil.year, civil.month, civil.day);
        const Almanac a = AlmanacOf(date);
        SCOPED_TRACE(Iso(civil));
        ASSERT_TRUE(a.valid);
        CheckAgainstDayBefore(a, before, date.lSolarTerm());
        CheckDay(a);
        goodForSomething += a.Yi().empty() ? 0 : 1;
        before = a;
    }
    EXPECT_GT(goodForSomething, (last - first) * 99 / 100);
}

TEST(EngineAlmanac, CommandLines) {
    EXPECT_EQ(LineHeader(),
              "date\tyear_pillar\tmonth_pillar\tday_pillar\tofficer\tdeity\thuangdao\tchong\tsha\tpengzu\tyi\tji");
    // The 寅 month's 甲辰 day in the 宜/忌 table.
    EXPECT_EQ(Line({2024, 2, 10}, On(2024, 2, 10)),
              "2024-02-10\t甲辰\t丙寅\t甲辰\t满\t金匮\t黄道\t冲狗(戊戌)\t煞南\t甲不开仓财物耗散 辰不哭泣必主重丧\t"
              "嫁娶 开光 求嗣 会亲友 安床 牧养 塑绘 针灸\t入宅 移徙 出火 分居 安香 作灶 开市 交易 立券 安葬 动土 伐木");
    // 1900-01-07, a 庚辰 day of the 丑 month, is bad for nothing the table lists.
    ASSERT_TRUE(On(1900, 1, 7).Ji().empty());
    EXPECT_TRUE(Line({1900, 1, 7}, On(1900, 1, 7)).ends_with("馀事勿取\t无"));
}

TEST(EngineAlmanac, ParseIsoDate) {
    const std::pair<const char*, std::optional<CivilDate>> cases[] = {
        {"2024-02-29", CivilDate{2024, 2, 29}}, {"1900-01-01", CivilDate{1900, 1, 1}}, {"2023-02-29", {}},
        {"2024-13-01", {}}, {"2024-00-10", {}}, {"2024-04-31", {}}, {"2024-2-10", {}}, {"2024/02/10", {}},
        {"2024-02-1x", {}}, {"", {}}, {" 2024-02-10", {}}, {"+024-02-10", {}}};
    for (const auto& [text, day] : cases) EXPECT_EQ(ParseIsoDate(text), day) << text;
}

}  // namespace
}  // namespace torvane
