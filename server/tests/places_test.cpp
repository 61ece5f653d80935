// The location page against the calendar's own parse: every city the pickers
// offer, every prefecture form the IP database uses.
#include <gtest/gtest.h>

#include <filesystem>

#include "server/ip_database.h"
#include "server/places.h"
#include "server/query.h"
#include "weather/city_table.h"
#include "weather/pages.h"

namespace torvane::server {
namespace {

// What the calendar's label shows for a location page.
std::optional<std::string> CalendarCity(const std::optional<Place>& place) {
    const auto parsed = weather::ParseLocation(LocationPage("1.2.3.4", place));
    if (!parsed) return std::nullopt;
    return parsed->substr(0, parsed->size() - 1);  // the parse's trailing space
}

TEST(LocationPage, EveryCityOfTheTableComesBackFromTheCalendarsParse) {
    for (const weather::Province& province : weather::Provinces()) {
        for (std::string_view city : province.cities) {
            for (const char* isp : {"", "电信", "鹏博士"}) {
                SCOPED_TRACE(std::string(province.name) + " " + std::string(city) + " " + isp);
                const auto shown = CalendarCity(Place{province.name, city, isp});
                ASSERT_TRUE(shown);
                // A listed name ending in "市" cannot be written whole; the
                // weather search takes the short name for it.
                EXPECT_EQ(ListedCity(*shown), city);
            }
        }
    }
}

TEST(LocationPage, WithoutAPlaceTheCalendarFindsNone) {
    EXPECT_EQ(weather::ParseLocation(LocationPage("127.0.0.1", std::nullopt)), std::nullopt);
    // Whatever the address text holds, it cannot make a place.
    EXPECT_EQ(weather::ParseLocation(LocationPage("来自：广东省深圳市<", std::nullopt)), std::nullopt);
}

TEST(PlaceOf, DatabaseRegionsBecomeListedCities) {
    struct Case {
        IpRegion region;
        std::optional<std::string_view> city;
    };
    const Case cases[] = {
        {{"中国", "广东省", "深圳市", "电信"}, "深圳"},
        {{"中国", "河北省", "石家庄市", "联通"}, "石家庄"},
        {{"中国", "吉林省", "吉林市", ""}, "吉林"},
        {{"中国", "安徽省", "黄山市", ""}, "黄山市"},
        {{"中国", "内蒙古", "呼伦贝尔市", "移动"}, "海拉尔"},
        {{"中国", "广西", "南宁市", ""}, "南宁"},
        {{"中国", "贵州省", "黔东南", ""}, "凯里"},
        {{"中国", "云南省", "普洱市", ""}, "思茅"},
        {{"中国", "吉林省", "延边", ""}, "延边"},
        {{"中国", "湖南省", "湘西", ""}, "吉首"},
        {{"中国", "湖北省", "襄阳", ""}, "襄樊"},
        {{"中国", "青海省", "海南", ""}, "西宁"},
        {{"中国", "新疆", "巴音郭楞", ""}, "库尔勒"},
        {{"中国", "北京", "北京市", "联通"}, "北京"},
        {{"中国", "重庆", "", ""}, "重庆"},
        {{"中国", "香港", "沙田", ""}, "香港"},
        {{"中国", "澳门", "", ""}, "澳门"},
        {{"中国", "台湾省", "高雄", ""}, "台北"},
        // No city we can name: no place rather than a guess.
        {{"中国", "广东省", "", "电信"}, std::nullopt},
        {{"中国", "广东省", "不存在市", ""}, std::nullopt},
        {{"中国", "火星省", "深圳市", ""}, std::nullopt},
        {{"美国", "加利福尼亚", "圣何塞", "微软"}, std::nullopt},
        {{"", "", "内网IP", "内网IP"}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.region.province + c.region.city);
        const auto place = PlaceOf(c.region);
        EXPECT_EQ(place ? std::optional(place->city) : std::nullopt, c.city);
        if (place) {
            EXPECT_EQ(ListedCity(CalendarCity(place).value_or("")), place->city);
        }
    }
}

// The database the service ships (tools/server-data fetches it): every
// Chinese prefecture in it is a city the calendar can show.
TEST(PlaceOf, EveryPrefectureOfTheShippedDatabase) {
    const std::string path = TORVANE_SERVER_DATA "/ip2region.db";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no " << path << " (bash tools/server-data)";
    const auto database = IpDatabase::FromFile(path);
    ASSERT_TRUE(database);
    std::size_t walked = 0;
    for (std::size_t i = 0; i < database->BlockCount(); ++i) {
        const IpRegion region = database->BlockAt(i).region;
        if (region.country != "中国" || region.city.empty() || region.province.empty()) continue;
        SCOPED_TRACE(region.province + "|" + region.city);
        const auto place = PlaceOf(region);
        ASSERT_TRUE(place);
        const auto shown = CalendarCity(place);
        ASSERT_TRUE(shown);
        EXPECT_EQ(ListedCity(*shown), place->city);
        ++walked;
    }
    EXPECT_GT(walked, 0u);
}

}  // namespace
}  // namespace torvane::server
