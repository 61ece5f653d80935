// The almanac of a day, computed from the traditional rules; only 宜/忌 is a
// table (engine/almanac_table.h).
#include "engine/almanac.h"

#include <array>
#include <cstdio>

#include "engine/almanac_table.h"
#include "engine/solar_term_days.h"
#include "engine/tables.h"

namespace torvane {

using namespace engine;

namespace {

// A short text assembled at compile time, so every name the almanac hands out
// is a view into constant storage.
template <size_t N>
struct FixedText {
    std::array<char, N> bytes{};
    size_t size = 0;
    constexpr FixedText& operator+=(std::string_view part) {
        for (char c : part) bytes[size++] = c;
        return *this;
    }
    constexpr std::string_view View() const { return {bytes.data(), size}; }
};

constexpr std::array<FixedText<6>, almanac::kPillars> kPillarNames = [] {
    std::array<FixedText<6>, almanac::kPillars> names{};
    for (size_t i = 0; i < names.size(); ++i) (names[i] += TianGan[i % 10]) += DiZhi[i % 12];
    return names;
}();

// "冲" + the animal of the clashing branch + its pillar in brackets: "冲马(甲午)".
constexpr std::array<FixedText<16>, almanac::kPillars> kClashTexts = [] {
    std::array<FixedText<16>, almanac::kPillars> texts{};
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string_view year = Animals[i % 12];  // "马年"
        const std::string_view animal = year.substr(0, year.size() - std::string_view("年").size());
        ((((texts[i] += "冲") += animal) += "(") += kPillarNames[i].View()) += ")";
    }
    return texts;
}();

constexpr std::array<std::string_view, 12> kOfficers = {"建", "除", "满", "平", "定", "执",
                                                        "破", "危", "成", "收", "开", "闭"};
constexpr std::array<std::string_view, 12> kDeities = {"青龙", "明堂", "天刑", "朱雀", "金匮", "天德",
                                                       "白虎", "玉堂", "天牢", "玄武", "司命", "勾陈"};
// 青龙, 明堂, 金匮, 天德, 玉堂 and 司命 make a 黄道 day; the other six a 黑道 day.
constexpr std::array<bool, 12> kHuangdao = {true, true, false, false, true, true,
                                            false, true, false, false, true, false};
constexpr std::array<std::string_view, 4> kSha = {"煞东", "煞南", "煞西", "煞北"};
enum Direction : uint8_t { kEast, kSouth, kWest, kNorth };
// The 煞 by the day branch's 三合 group: 申子辰 south, 巳酉丑 east, 寅午戌 north,
// 亥卯未 west. The groups are the branches alike modulo 4.
constexpr std::array<Direction, 4> kShaOfGroup = {kSouth, kEast, kNorth, kWest};

// 彭祖百忌: one saying for each stem and each branch of the day.
constexpr std::array<std::string_view, 10> kPengzuStem = {
    "甲不开仓财物耗散", "乙不栽植千株不长", "丙不修灶必见灾殃", "丁不剃头头必生疮", "戊不受田田主不祥",
    "己不破券二比并亡", "庚不经络织机虚张", "辛不合酱主人不尝", "壬不泱水更难提防", "癸不词讼理弱敌强"};
constexpr std::array<std::string_view, 12> kPengzuBranch = {
    "子不问卜自惹祸殃", "丑不冠带主不还乡", "寅不祭祀神鬼不尝", "卯不穿井水泉不香",
    "辰不哭泣必主重丧", "巳不远行财物伏藏", "午不苫盖屋主更张", "未不服药毒气入肠",
    "申不安床鬼祟入房", "酉不会客醉坐颠狂", "戌不吃犬作怪上床", "亥不嫁娶不利新郎"};

template <class Table>
std::string_view NameAt(const Table& table, int index) {
    if (index < 0 || static_cast<size_t>(index) >= table.size()) return {};
    return table[static_cast<size_t>(index)];
}

constexpr int kFirstYear = engine_data::kExactTermFirstYear;
constexpr int64_t kFirstDay = DaysFromCivil64(kFirstYear, 1, 1);
constexpr int64_t kLastDay = DaysFromCivil64(engine_data::kExactTermLastYear, 12, 31);
// 1900-01-01 was a 甲戌 day, in the 丙子 month of the 己亥 year.
constexpr int64_t kFirstDayPillar = 10;
constexpr uint32_t kFirstMonthPillar = 12;
constexpr uint32_t kFirstYearPillar = 35;

static_assert(engine_data::kYiJiSpans.size() == 12 * almanac::kPillars * 2 + 1);
static_assert(engine_data::kYiJiSpans.back() == engine_data::kActivityIds.size());

}  // namespace

bool Almanac::Huangdao() const { return valid && kHuangdao[deity % 12]; }

std::span<const uint8_t> Almanac::Yi() const {
    return std::span(engine_data::kActivityIds).subspan(yiBegin, jiBegin - yiBegin);
}

std::span<const uint8_t> Almanac::Ji() const {
    return std::span(engine_data::kActivityIds).subspan(jiBegin, jiEnd - jiBegin);
}

namespace {

// The almanac of a day given both as its day count and as its date, so a
// caller that holds the date spares the conversion. All in small unsigned
// numbers: the grid asks this of every cell.
Almanac AlmanacOfDate(int64_t days, uint32_t year, uint32_t month, uint32_t day) {
    // The month's 节 is its first solar term: on that day and after, the day
    // belongs to the month the 节 opens (寅 for 立春 in February), before it to
    // the month before. Months are counted from the 子 month before 1900's
    // 小寒, two before the first 寅 month.
    const uint32_t yearIndex = year - kFirstYear;
    const char jieDigit = engine_data::kExactTermDays[yearIndex * 24 + (month - 1) * 2];
    const uint32_t jieDay = 3 + static_cast<uint32_t>(jieDigit - '0');
    const uint32_t months = yearIndex * 12 + month - (day >= jieDay ? 0 : 1);
    const uint32_t monthBranch = months % 12;  // month 0 is a 子 month
    const auto pillar = static_cast<uint32_t>(days - kFirstDay + kFirstDayPillar) % 60;
    const uint32_t dayBranch = pillar % 12;

    Almanac almanac;
    almanac.valid = true;
    // The pillar year turns with the 寅 month, two months on.
    almanac.yearPillar = static_cast<uint8_t>((kFirstYearPillar + (months + 10) / 12) % 60);
    almanac.monthPillar = static_cast<uint8_t>((kFirstMonthPillar + months) % 60);
    almanac.dayPillar = static_cast<uint8_t>(pillar);
    // 建 falls on the day of the month's own branch; the twelve officers follow in turn.
    almanac.officer = static_cast<uint8_t>((dayBranch + 12 - monthBranch) % 12);
    // 青龙 falls on 子 in 寅 and 申 months, on 寅 in 卯 and 酉 months, and two
    // branches on for each month after; the twelve deities follow in turn.
    almanac.deity = static_cast<uint8_t>((dayBranch + 28 - 2 * monthBranch) % 12);
    // The opposite branch, with the stem the day's stem overcomes (甲 → 戊):
    // 54 steps on the cycle is 4 stems and 6 branches.
    almanac.clashPillar = static_cast<uint8_t>((pillar + 54) % 60);
    almanac.sha = kShaOfGroup[dayBranch % 4];
    const size_t entry = (monthBranch * almanac::kPillars + pillar) * 2;
    almanac.yiBegin = engine_data::kYiJiSpans[entry];
    almanac.jiBegin = engine_data::kYiJiSpans[entry + 1];
    almanac.jiEnd = engine_data::kYiJiSpans[entry + 2];
    return almanac;
}

}  // namespace

Almanac AlmanacOfDay(int64_t days) {
    if (days < kFirstDay || days > kLastDay) return {};
    const Civil64 civil = CivilFromDays64(days);
    return AlmanacOfDate(days, static_cast<uint32_t>(civil.year), static_cast<uint32_t>(civil.month),
                         static_cast<uint32_t>(civil.day));
}

Almanac AlmanacOf(const clsDate& date) {
    if (!date.HasDate()) return {};
    const int64_t days = date.sDate();
    if (days < kFirstDay || days > kLastDay) return {};
    // The numbers as passed when they form the day (the grid's case), else
    // the day they carried over to.
    if (date.sDay() >= 1 && date.sDay() <= GregorianMonthDays(date.sYear(), date.sMonth())) {
        return AlmanacOfDate(days, static_cast<uint32_t>(date.sYear()), static_cast<uint32_t>(date.sMonth()),
                             static_cast<uint32_t>(date.sDay()));
    }
    return AlmanacOfDay(days);
}

namespace almanac {

int StemOf(int pillar) { return static_cast<int>(FloorMod(pillar, 10)); }
int BranchOf(int pillar) { return static_cast<int>(FloorMod(pillar, 12)); }

std::string_view PillarName(int pillar) {
    if (pillar < 0 || pillar >= kPillars) return {};
    return kPillarNames[static_cast<size_t>(pillar)].View();
}
std::string_view OfficerName(int officer) { return NameAt(kOfficers, officer); }
std::string_view DeityName(int deity) { return NameAt(kDeities, deity); }
std::string_view HuangdaoName(bool huangdao) { return huangdao ? "黄道" : "黑道"; }
std::string_view ClashText(int clashPillar) {
    if (clashPillar < 0 || clashPillar >= kPillars) return {};
    return kClashTexts[static_cast<size_t>(clashPillar)].View();
}
std::string_view ShaText(int sha) { return NameAt(kSha, sha); }
std::string_view PengzuOfStem(int stem) { return NameAt(kPengzuStem, stem); }
std::string_view PengzuOfBranch(int branch) { return NameAt(kPengzuBranch, branch); }
std::string_view ActivityName(int id) { return NameAt(engine_data::kActivityNames, id); }
int ActivityCount() { return static_cast<int>(engine_data::kActivityNames.size()); }

std::string JoinActivities(std::span<const uint8_t> ids) {
    if (ids.empty()) return "无";
    std::string text;
    for (const uint8_t id : ids) {
        if (!text.empty()) text += ' ';
        text += ActivityName(id);
    }
    return text;
}

std::string_view LineHeader() {
    return "date\tyear_pillar\tmonth_pillar\tday_pillar\tofficer\tdeity\thuangdao\tchong\tsha\tpengzu\tyi\tji";
}

std::string Line(const CivilDate& day, const Almanac& almanac) {
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", static_cast<int>(day.year), static_cast<int>(day.month),
                  static_cast<int>(day.day));
    std::string line(date);
    if (!almanac.valid) return line + std::string(11, '\t');  // a day without an almanac: empty fields
    const auto field = [&line](std::string_view text) {
        line += '\t';
        line += text;
    };
    field(PillarName(almanac.yearPillar));
    field(PillarName(almanac.monthPillar));
    field(PillarName(almanac.dayPillar));
    field(OfficerName(almanac.officer));
    field(DeityName(almanac.deity));
    field(HuangdaoName(almanac.Huangdao()));
    field(ClashText(almanac.clashPillar));
    field(ShaText(almanac.sha));
    field(PengzuOfStem(StemOf(almanac.dayPillar)));
    line += ' ';
    line += PengzuOfBranch(BranchOf(almanac.dayPillar));
    field(JoinActivities(almanac.Yi()));
    field(JoinActivities(almanac.Ji()));
    return line;
}

std::optional<CivilDate> ParseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    int32_t parts[3] = {0, 0, 0};
    const size_t starts[3] = {0, 5, 8};
    const size_t lengths[3] = {4, 2, 2};
    for (size_t p = 0; p < 3; ++p) {
        for (size_t i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            parts[p] = parts[p] * 10 + (text[i] - '0');
        }
    }
    if (parts[2] < 1 || parts[2] > GregorianMonthDays(parts[0], parts[1])) return std::nullopt;
    return CivilDate{parts[0], parts[1], parts[2]};
}

}  // namespace almanac
}  // namespace torvane
