// What the calendar reads out of the two public pages: the city of the
// location page and the weather runs of the search page. Pages are UTF-8
// (decoded by the fetch); nothing here trusts their shape.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torvane::weather {

// The city the location page names after "来自：", followed by one space:
// between the province's "省" (or the region's "自治区") and the next "市";
// a municipality or a special region gives its own name. Nothing for any
// other page, which then leaves the location as it was.
std::optional<std::string> ParseLocation(std::string_view page);

// The runs the weather block shows, counted after the marker "fs_30 tpte":
// run k is the text between the k-th ">" after it and the next "<". A run
// that is never closed by a "<" is missing (its label keeps its caption).
struct WeatherRuns {
    std::optional<std::string> text1;   // the temperature
    std::optional<std::string> text5;   // the day's second temperature
    std::optional<std::string> text8;   // the weather text; names the icon
    std::optional<std::string> text10;  // the wind
};
// Nothing for a page without the marker: counting from the page's start
// would fill the labels with fragments of the page.
std::optional<WeatherRuns> ParseWeather(std::string_view page);

// `text` (UTF-8) percent-encoded in GBK for a query string: the pages are
// GB2312, and every byte but an unreserved ASCII one is escaped.
std::string PercentEncodeGbk(std::string_view text);

// Whether a weather text can name a picture file: no path separator, no
// wildcard, no ".." — it comes from a page, not from us.
bool IsPlainFileName(std::string_view name);

}  // namespace torvane::weather
