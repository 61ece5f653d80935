// The weather page against the calendar's own parse, the forecast answer's
// reading, and the words the page uses.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "server/city_coords.h"
#include "server/forecast.h"
#include "weather/city_table.h"
#include "weather/pages.h"

namespace torvane::server {
namespace {

TEST(WeatherPage, TheCalendarReadsBackWhatThePageSays) {
    const Forecast forecasts[] = {
        {23.4, 28.6, 19.0, 1, 2, 15.0, 45.0},
        {-0.4, 3.0, -7.5, 71, 73, 0.5, 0.0},
        {-12.6, -3.2, -20.0, 95, 61, 130.0, 300.0},
    };
    for (const std::string_view city : {"深圳", "黄山市", "<b>&"}) {
        for (const Forecast& f : forecasts) {
            SCOPED_TRACE(std::string(city) + " " + std::to_string(f.temperature));
            const auto runs = weather::ParseWeather(WeatherPage(city, f));
            ASSERT_TRUE(runs);
            EXPECT_EQ(runs->text1, TemperatureText(f.temperature));
            EXPECT_EQ(runs->text5, TemperatureText(f.high));
            EXPECT_EQ(runs->text8, DayWeatherText(f.codeNow, f.codeToday));
            EXPECT_EQ(runs->text10, WindText(f.windSpeed, f.windDirection));
        }
    }
    EXPECT_EQ(weather::ParseWeather(NoWeatherPage("深圳")), std::nullopt);
    EXPECT_EQ(weather::ParseWeather(NoWeatherPage("fs_30 tpte")), std::nullopt) << "a name cannot forge the marker";
}

TEST(WeatherText, EveryTextThePageCanSayHasAnIcon) {
    const std::filesystem::path pictures = std::filesystem::path(TORVANE_SOURCE_DIR) / "resources" / "pic";
    std::set<std::string> said;
    for (int now = -1; now < 100; ++now) {
        for (int today = -1; today < 100; ++today) said.insert(DayWeatherText(now, today));
    }
    said.erase("");  // two unknown codes: the page says nothing, the icon stays
    EXPECT_GE(said.size(), 10u);
    for (const std::string& text : said) {
        EXPECT_TRUE(std::filesystem::exists(pictures / std::filesystem::u8path(text + ".gif"))) << text;
    }
    for (std::string_view text : IconTexts()) {
        EXPECT_TRUE(std::filesystem::exists(pictures / std::filesystem::u8path(std::string(text) + ".gif"))) << text;
    }
}

TEST(CityPoints, EveryCityOfTheTableHasAPointInChina) {
    for (const weather::Province& province : weather::Provinces()) {
        for (std::string_view city : province.cities) {
            const auto point = PointOf(city);
            ASSERT_TRUE(point) << city;
            // Roughly China's extent, the South China Sea's islands included.
            EXPECT_TRUE(point->latitude > 15 && point->latitude < 54) << city;
            EXPECT_TRUE(point->longitude > 73 && point->longitude < 136) << city;
        }
    }
}

TEST(WeatherText, DayTextAndItsChanges) {
    struct Case {
        int now, today;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "晴"},       {2, 2, "多云"},      {0, 2, "晴转多云"}, {3, 61, "阴转小雨"},
        {61, 2, "小雨转多云"}, {80, 0, "阵雨转晴"}, {95, 0, "晴"},      // no icon for 雷阵雨转晴
        {-5, 3, "阴"},      {3, -5, "阴"},       {45, 48, "雾"},     {65, 65, "大雨"},
        {75, 75, "大雪"},   {56, 66, "冻雨"},
    };
    for (const Case& c : cases) EXPECT_EQ(DayWeatherText(c.now, c.today), c.text) << c.now << " " << c.today;
}

TEST(WeatherText, WindOnTheBeaufortScaleFromEightDirections) {
    struct Case {
        double kmh, degrees;
        const char* text;
    };
    const Case cases[] = {
        {0, 90, "静风0级"},     {0.9, 90, "静风0级"},  {1, 0, "北风1级"},      {5.9, 0, "北风1级"},
        {6, 45, "东北风2级"},   {19.9, 90, "东风3级"}, {20, 135, "东南风4级"}, {38.9, 180, "南风5级"},
        {61.9, 225, "西南风7级"}, {74.9, 270, "西风8级"}, {117.9, 315, "西北风11级"}, {118, 0, "北风12级"},
        {400, 0, "北风12级"},   {10, 337.4, "西北风2级"}, {10, 337.6, "北风2级"}, {10, 22.4, "北风2级"},
        {10, 22.6, "东北风2级"}, {10, -45, "西北风2级"}, {10, 720, "北风2级"},
    };
    for (const Case& c : cases) EXPECT_EQ(WindText(c.kmh, c.degrees), c.text) << c.kmh << " " << c.degrees;
}

TEST(WeatherText, TemperaturesRoundToWholeDegrees) {
    struct Case {
        double celsius;
        const char* text;
    };
    const Case cases[] = {{23.4, "23℃"}, {23.5, "24℃"}, {-0.4, "0℃"}, {-0.6, "-1℃"}, {-12.5, "-13℃"}, {0, "0℃"}};
    for (const Case& c : cases) EXPECT_EQ(TemperatureText(c.celsius), c.text) << c.celsius;
}

TEST(ParseForecast, OnlyAWholeAnswer) {
    const std::string good = R"({"current":{"temperature_2m":21.5,"weather_code":3,"wind_speed_10m":12.0,
        "wind_direction_10m":200},"daily":{"weather_code":[61],"temperature_2m_max":[25.1],"temperature_2m_min":[18.2]}})";
    const auto forecast = ParseForecast(good);
    ASSERT_TRUE(forecast);
    EXPECT_EQ(forecast->temperature, 21.5);
    EXPECT_EQ(forecast->high, 25.1);
    EXPECT_EQ(forecast->low, 18.2);
    EXPECT_EQ(forecast->codeNow, 3);
    EXPECT_EQ(forecast->codeToday, 61);
    EXPECT_EQ(forecast->windSpeed, 12.0);
    EXPECT_EQ(forecast->windDirection, 200);

    const auto without = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string bad[] = {
        "", "null", "[]", "{", R"({"current":{"temperature_2m":12.0, )", "not json at all",
        without(R"("temperature_2m":21.5)", R"("temperature_2m":"21.5")"),
        without(R"("weather_code":[61])", R"("weather_code":[])"),
        without(R"("temperature_2m_max":[25.1])", R"("temperature_2m_max":25.1)"),
        without(R"("wind_direction_10m":200)", R"("wind_direction_10m":null)"),
        without(R"("temperature_2m":21.5)", R"("temperature_2m":1e300)"),
        without(R"("wind_speed_10m":12.0)", R"("wind_speed_10m":-3)"),
        without(R"(,"daily":{"weather_code":[61],"temperature_2m_max":[25.1],"temperature_2m_min":[18.2]})", ""),
    };
    for (const std::string& text : bad) EXPECT_EQ(ParseForecast(text), std::nullopt) << text;
}

}  // namespace
}  // namespace torvane::server
