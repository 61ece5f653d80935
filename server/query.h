// The city a search asks for: "/search.php?city=<GBK, percent-encoded>".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torvane::server {

// The bytes of a percent-encoded text ("+" is a space); nothing when a "%" is
// not followed by two hex digits.
std::optional<std::string> PercentDecode(std::string_view text);

// The value of `key` in a query string ("a=1&city=..."), still encoded.
std::optional<std::string_view> QueryValue(std::string_view query, std::string_view key);

// The city of a search's query string in UTF-8, without the spaces around it
// (the calendar sends the space its location step leaves); nothing when the
// value is missing, too long, badly encoded or not GBK.
std::optional<std::string> CityOfQuery(std::string_view query);

// The city of the table a search names: the name itself, or a listed name
// ending in "市" asked for without it (the location page cannot say "黄山市").
std::optional<std::string_view> ListedCity(std::string_view name);

}  // namespace torvane::server
