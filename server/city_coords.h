// Where the forecast is asked for each city of the table (made at build time
// from server/data/city_coords.tsv).
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace torvane::server {

struct CityPoint {
    std::string_view city;
    double latitude;
    double longitude;
};

std::span<const CityPoint> CityPoints();

inline std::optional<CityPoint> PointOf(std::string_view city) {
    for (const CityPoint& point : CityPoints()) {
        if (point.city == city) return point;
    }
    return std::nullopt;
}

}  // namespace torvane::server
