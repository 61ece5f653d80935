// Today's weather of a city: read from the forecast API's JSON answer, put
// into the words the calendar shows (its icons are named after the weather
// texts), and written as the search page the calendar's parse reads.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace torvane::server {

struct Forecast {
    double temperature = 0;  // now, degrees Celsius
    double high = 0;         // today's
    double low = 0;
    int codeNow = 0;         // WMO weather interpretation codes
    int codeToday = 0;       // the day's most significant weather
    double windSpeed = 0;    // km/h, 10 m above ground
    double windDirection = 0;  // degrees the wind comes from
};

// The forecast of an answer asked with ForecastQuery; nothing for an answer
// that is not JSON or lacks a value (or holds one that is not a number).
std::optional<Forecast> ParseForecast(std::string_view json);

// The path and query of the forecast API for a point.
std::string ForecastQuery(double latitude, double longitude);

// The weather text of a WMO code ("晴", "小雨"...); empty for a code we do not know.
std::string_view WeatherTextOf(int code);
// The day's weather text: the weather now, "转" and the day's when they
// differ and an icon draws that change; else the day's.
std::string DayWeatherText(int codeNow, int codeToday);
// The texts the calendar has an icon for.
std::span<const std::string_view> IconTexts();

// "东北风3级": the eight-point direction the wind comes from and its Beaufort
// force; "静风0级" for calm air.
std::string WindText(double speedKmh, double directionDegrees);
// Degrees Celsius rounded to a whole degree, "23℃".
std::string TemperatureText(double celsius);

// The search page of a city (UTF-8; sent in GB2312): the calendar counts the
// runs after the marker: 1 the temperature now, 5 the day's high, 8 the
// weather text, 10 the wind.
std::string WeatherPage(std::string_view city, const Forecast& forecast);
// The page for a city we have no weather of: it carries no marker, so the
// calendar leaves its labels as they were.
std::string NoWeatherPage(std::string_view city);

}  // namespace torvane::server
