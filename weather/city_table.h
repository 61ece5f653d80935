// The provinces and their cities the pickers offer, in list order. The city
// names are what the weather search is asked for. The table is made at build
// time from resources/cities.txt, the file the stand-in server reads too.
#pragma once

#include <span>
#include <string_view>

namespace torvane::weather {

struct Province {
    std::string_view name;
    std::span<const std::string_view> cities;
};

std::span<const Province> Provinces();

// The province of exactly this name (every character, letter case too), or null.
const Province* FindProvince(std::string_view name);

}  // namespace torvane::weather
