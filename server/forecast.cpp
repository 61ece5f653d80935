#include "server/forecast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace torvane::server {
namespace {

struct CodeText {
    int code;
    std::string_view text;
};
// WMO weather interpretation codes as the forecast API gives them.
constexpr CodeText kCodeTexts[] = {
    {0, "晴"},     {1, "晴"},     {2, "多云"},   {3, "阴"},     {45, "雾"},    {48, "雾"},
    {51, "小雨"},  {53, "小雨"},  {55, "中雨"},  {56, "冻雨"},  {57, "冻雨"},  {61, "小雨"},
    {63, "中雨"},  {65, "大雨"},  {66, "冻雨"},  {67, "冻雨"},  {71, "小雪"},  {73, "中雪"},
    {75, "大雪"},  {77, "小雪"},  {80, "阵雨"},  {81, "阵雨"},  {82, "暴雨"},  {85, "小雪"},
    {86, "大雪"},  {95, "雷阵雨"}, {96, "雷阵雨"}, {99, "雷阵雨"},
};

// The pictures of resources/pic.
constexpr std::array<std::string_view, 35> kIconTexts = {
    "中雨", "中雪", "冻雨", "多云", "多云转小雨", "多云转晴", "多云转阴", "多云转阵雨", "大暴雨",
    "大雨", "大雪", "小雨", "小雨转多云", "小雨转晴", "小雨转阴", "小雪", "扬沙", "晴", "晴转多云",
    "晴转阴", "暴雨", "暴雪", "沙尘暴", "浮尘", "阴", "阴转多云", "阴转小雨", "阴转晴", "阵雨",
    "阵雨转多云", "阵雨转晴", "雨夹雪", "雷阵雨", "雾", "霾",
};

// Beaufort forces by their upper bound in km/h.
constexpr double kBeaufortKmh[] = {1, 6, 12, 20, 29, 39, 50, 62, 75, 89, 103, 118};
constexpr std::string_view kDirections[] = {"北风", "东北风", "东风", "东南风", "南风", "西南风", "西风", "西北风"};

std::string HtmlEscape(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else out += c;
    }
    return out;
}

// The city before the marker: with its spaces escaped no name can spell the
// marker and move the calendar's count.
std::string PageHead(std::string_view city) {
    std::string name;
    for (char c : HtmlEscape(city)) name += c == ' ' ? std::string("&#32;") : std::string(1, c);
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><title>" + name +
           "天气预报</title></head><body><div class=\"city\">" + name + "</div>";
}

}  // namespace

std::optional<Forecast> ParseForecast(std::string_view text) {
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) return std::nullopt;
    const auto number = [&](const char* section, const char* key, bool first) -> std::optional<double> {
        const auto s = json.find(section);
        if (s == json.end() || !s->is_object()) return std::nullopt;
        const auto v = s->find(key);
        if (v == s->end()) return std::nullopt;
        const nlohmann::json& value = first ? (v->is_array() && !v->empty() ? v->front() : nlohmann::json()) : *v;
        if (!value.is_number() || !std::isfinite(value.get<double>())) return std::nullopt;
        return value.get<double>();
    };
    const auto now = number("current", "temperature_2m", false);
    const auto codeNow = number("current", "weather_code", false);
    const auto speed = number("current", "wind_speed_10m", false);
    const auto direction = number("current", "wind_direction_10m", false);
    const auto code = number("daily", "weather_code", true);
    const auto high = number("daily", "temperature_2m_max", true);
    const auto low = number("daily", "temperature_2m_min", true);
    if (!now || !codeNow || !speed || !direction || !code || !high || !low) return std::nullopt;
    // Beyond these the answer is not weather: refuse rather than print it.
    const auto plausible = [](double c) { return c > -100 && c < 100; };
    if (!plausible(*now) || !plausible(*high) || !plausible(*low) || *speed < 0 || *speed > 1000) return std::nullopt;
    return Forecast{*now, *high, *low, static_cast<int>(*codeNow), static_cast<int>(*code), *speed, *direction};
}

std::string ForecastQuery(double latitude, double longitude) {
    char point[64];
    std::snprintf(point, sizeof point, "latitude=%.4f&longitude=%.4f", latitude, longitude);
    return std::string("/v1/forecast?") + point +
           "&current=temperature_2m,weather_code,wind_speed_10m,wind_direction_10m"
           "&daily=weather_code,temperature_2m_max,temperature_2m_min"
           "&timezone=Asia%2FShanghai&forecast_days=1&wind_speed_unit=kmh";
}

std::string_view WeatherTextOf(int code) {
    for (const CodeText& entry : kCodeTexts) {
        if (entry.code == code) return entry.text;
    }
    return {};
}

std::span<const std::string_view> IconTexts() { return kIconTexts; }

std::string DayWeatherText(int codeNow, int codeToday) {
    const std::string_view now = WeatherTextOf(codeNow), today = WeatherTextOf(codeToday);
    if (today.empty()) return std::string(now);
    if (!now.empty() && now != today) {
        const std::string change = std::string(now) + "转" + std::string(today);
        if (std::find(kIconTexts.begin(), kIconTexts.end(), change) != kIconTexts.end()) return change;
    }
    return std::string(today);
}

std::string WindText(double speedKmh, double directionDegrees) {
    int force = 0;
    while (force < static_cast<int>(std::size(kBeaufortKmh)) && speedKmh >= kBeaufortKmh[force]) ++force;
    if (force == 0) return "静风0级";
    const double degrees = std::fmod(std::fmod(directionDegrees, 360.0) + 360.0, 360.0);
    const int sector = static_cast<int>(std::floor((degrees + 22.5) / 45.0)) % 8;
    return std::string(kDirections[sector]) + std::to_string(force) + "级";
}

std::string TemperatureText(double celsius) {
    const long whole = std::lround(celsius);
    return std::to_string(whole == 0 ? 0 : whole) + "℃";
}

std::string WeatherPage(std::string_view city, const Forecast& f) {
    // Each run ends at the next tag; runs 2, 6, 7 and 9 are the empty runs
    // between adjacent tags.
    const std::string runs[10] = {TemperatureText(f.temperature), "", TemperatureText(f.low), "最高",
                                  TemperatureText(f.high), "", "", DayWeatherText(f.codeNow, f.codeToday),
                                  "", WindText(f.windSpeed, f.windDirection)};
    std::string body;
    for (int k = 0; k < 10; ++k) body += HtmlEscape(runs[k]) + (k % 2 == 0 ? "</i>" : "<i>");
    return PageHead(city) + "<div class=\"now\"><i class=\"fs_30 tpte\">" + body + "</div></body></html>";
}

std::string NoWeatherPage(std::string_view city) {
    return PageHead(city) + "<p>没有找到该城市的天气</p></body></html>";
}

}  // namespace torvane::server
