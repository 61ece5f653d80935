#include "server/query.h"

#include "common/text_codec.h"
#include "weather/city_table.h"

namespace torvane::server {
namespace {

// Longer than any city name of the table, percent-encoded, with room to spare.
constexpr std::size_t kMaxEncodedCity = 120;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] != '%') {
            out += text[i];
        } else {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        }
    }
    return out;
}

std::optional<std::string_view> QueryValue(std::string_view query, std::string_view key) {
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        if (pair.size() > key.size() && pair.starts_with(key) && pair[key.size()] == '=') {
            return pair.substr(key.size() + 1);
        }
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

std::optional<std::string> CityOfQuery(std::string_view query) {
    const auto encoded = QueryValue(query, "city");
    if (!encoded || encoded->size() > kMaxEncodedCity) return std::nullopt;
    const auto bytes = PercentDecode(*encoded);
    if (!bytes) return std::nullopt;
    for (unsigned char c : *bytes) {
        if (c < 0x20 || c == 0x7F) return std::nullopt;
    }
    // GBK never decodes to U+FFFD: finding one means a byte was not GBK.
    std::string city = GbkToUtf8(*bytes);
    if (city.find(kReplacement) != std::string::npos) return std::nullopt;
    const std::string_view trimmed = Trim(city);
    if (trimmed.empty()) return std::nullopt;
    return std::string(trimmed);
}

std::optional<std::string_view> ListedCity(std::string_view name) {
    for (const weather::Province& province : weather::Provinces()) {
        for (std::string_view city : province.cities) {
            if (city == name) return city;
        }
    }
    for (const weather::Province& province : weather::Provinces()) {
        for (std::string_view city : province.cities) {
            if (city.size() > name.size() && city.starts_with(name) && city.substr(name.size()) == "市") return city;
        }
    }
    // "北京市" for "北京": a city asked for with the "市" the table leaves off.
    constexpr std::string_view kCity = "市";
    if (name.size() > kCity.size() && name.ends_with(kCity)) {
        const std::string_view bare = name.substr(0, name.size() - kCity.size());
        for (const weather::Province& province : weather::Provinces()) {
            for (std::string_view city : province.cities) {
                if (city == bare) return city;
            }
        }
    }
    return std::nullopt;
}

}  // namespace torvane::server
