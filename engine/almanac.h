// The almanac of a day (黄历): its stem-branch pillars, the 建除 officer, the
// duty deity with 黄道/黑道, the clash and the 煞 direction, the 彭祖 taboos and
// what the day is good (宜) and bad (忌) for.
//
// An Almanac is a handful of small numbers; every name comes from the
// functions below as a view into static storage, so a view can take a day's
// almanac and show any part of it without allocating.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/clsDate.h"

namespace torvane {

struct Almanac {
    // False outside 1900-01-01 .. 2100-12-31, the span of the solar-term
    // table the month pillar is read from; every other field is then 0.
    bool valid = false;
    // Sexagenary indices, 甲子 = 0 .. 癸亥 = 59. The year starts on the day of
    // 立春 and the month on the day of its 节, whatever the hour.
    uint8_t yearPillar = 0;
    uint8_t monthPillar = 0;
    uint8_t dayPillar = 0;
    uint8_t officer = 0;      // 建 = 0, 除, 满, 平, 定, 执, 破, 危, 成, 收, 开, 闭 = 11
    uint8_t deity = 0;        // 青龙 = 0, 明堂, 天刑, ... 勾陈 = 11
    uint8_t clashPillar = 0;  // the pillar the day clashes with
    uint8_t sha = 0;          // direction of the day's 煞: 东 = 0, 南, 西, 北
    // The day's 宜 and 忌 as activity ids (see ActivityName), in the table's order.
    uint16_t yiBegin = 0;
    uint16_t jiBegin = 0;
    uint16_t jiEnd = 0;

    bool Huangdao() const;  // a 黄道 day: the deity is one of the six good ones
    std::span<const uint8_t> Yi() const;
    std::span<const uint8_t> Ji() const;

    friend bool operator==(const Almanac&, const Almanac&) = default;
};

// The almanac of the day `days` days after 1970-01-01 (Beijing calendar day).
Almanac AlmanacOfDay(int64_t days);
// The almanac of the day the object holds; not valid when it holds none.
Almanac AlmanacOf(const clsDate& date);

namespace almanac {

inline constexpr int kPillars = 60;

int StemOf(int pillar);    // 甲 = 0 .. 癸 = 9
int BranchOf(int pillar);  // 子 = 0 .. 亥 = 11

// Names; an index outside its table gives "".
std::string_view PillarName(int pillar);       // "甲子"
std::string_view OfficerName(int officer);     // "建"
std::string_view DeityName(int deity);         // "青龙"
std::string_view HuangdaoName(bool huangdao);  // "黄道" or "黑道"
std::string_view ClashText(int clashPillar);   // "冲马(甲午)"
std::string_view ShaText(int sha);             // "煞南"
std::string_view PengzuOfStem(int stem);       // "甲不开仓财物耗散"
std::string_view PengzuOfBranch(int branch);   // "子不问卜自惹祸殃"
std::string_view ActivityName(int id);         // "嫁娶"
int ActivityCount();

// The activities' names separated by single spaces; "无" for an empty list.
std::string JoinActivities(std::span<const uint8_t> ids);

// The almanac command's output: its header line, and one day's line, both
// tab-separated and without the line end.
std::string_view LineHeader();
std::string Line(const CivilDate& day, const Almanac& almanac);

// A date written YYYY-MM-DD that exists in the Gregorian calendar; nothing
// for any other text.
std::optional<CivilDate> ParseIsoDate(std::string_view text);

}  // namespace almanac
}  // namespace torvane
