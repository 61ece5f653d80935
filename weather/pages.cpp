#include "weather/pages.h"

#include <algorithm>
#include <array>

#include "common/text_codec.h"

namespace torvane::weather {
namespace {

constexpr std::string_view kFrom = "来自：";
constexpr std::string_view kProvince = "省";
constexpr std::string_view kRegion = "自治区";
constexpr std::string_view kSpecialRegion = "特别行政区";
constexpr std::string_view kCitySuffix = "市";
constexpr std::string_view kWeatherMarker = "fs_30 tpte";
// The longest place name worth a label; a longer "city" is a page fragment.
constexpr size_t kMaxCityBytes = 8 * 3;
constexpr int kLastRun = 10;

// The text between `after` and the next `suffix` within `place`.
std::optional<std::string_view> Between(std::string_view place, size_t after, std::string_view suffix) {
    const size_t end = place.find(suffix, after);
    if (end == std::string_view::npos) return std::nullopt;
    return place.substr(after, end - after);
}

}  // namespace

std::optional<std::string> ParseLocation(std::string_view page) {
    const size_t from = page.find(kFrom);
    if (from == std::string_view::npos) return std::nullopt;
    // The place ends with its line or its tag.
    std::string_view place = page.substr(from + kFrom.size());
    place = place.substr(0, std::min(place.find('<'), place.find('\n')));

    // Whichever marker comes first tells the place's form.
    struct Form {
        std::string_view word;
        bool cityFollows;  // true: the city runs from the word to "市"
    };
    constexpr std::array<Form, 4> kForms = {{
        {kProvince, true}, {kRegion, true}, {kSpecialRegion, false}, {kCitySuffix, false}}};
    const Form* form = nullptr;
    size_t at = std::string_view::npos;
    for (const Form& f : kForms) {
        const size_t found = place.find(f.word);
        if (found < at) at = found, form = &f;
    }
    if (!form) return std::nullopt;
    std::optional<std::string_view> city;
    if (form->cityFollows) {
        city = Between(place, at + form->word.size(), kCitySuffix);
    } else if (at > 0) {
        city = place.substr(0, at);  // the place is itself the city
    }
    if (!city || city->size() > kMaxCityBytes) return std::nullopt;
    return std::string(*city) + " ";
}

std::optional<WeatherRuns> ParseWeather(std::string_view page) {
    size_t p = page.find(kWeatherMarker);
    if (p == std::string_view::npos) return std::nullopt;
    WeatherRuns runs;
    for (int k = 1; k <= kLastRun; ++k) {
        p = page.find('>', p + 1);
        if (p == std::string_view::npos) break;
        const size_t q = page.find('<', p + 1);
        if (q == std::string_view::npos) continue;  // not closed: not written
        std::string text(page.substr(p + 1, q - p - 1));
        switch (k) {
            case 1: runs.text1 = std::move(text); break;
            case 5: runs.text5 = std::move(text); break;
            case 8: runs.text8 = std::move(text); break;
            case 10: runs.text10 = std::move(text); break;
            default: break;
        }
    }
    return runs;
}

std::string PercentEncodeGbk(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : Utf8ToGbk(text)) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '_' || c == '.' || c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name.find("..") != std::string_view::npos) return false;
    return name.find_first_of("\\/:*?\"<>|") == std::string_view::npos &&
           std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace torvane::weather
