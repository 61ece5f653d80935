// Where an address is, in the words the calendar reads: the region the IP
// database gives becomes a city the pickers offer (resources/cities.txt),
// written on the location page so that the calendar's parse yields that name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "server/ip_database.h"

namespace torvane::server {

struct Place {
    std::string_view province;  // as cities.txt names it ("广西壮族自治区")
    std::string_view city;      // a city of that province in cities.txt
    std::string isp;            // the carrier, empty when unknown
};

// The place of a region; nothing outside China's table, for a private range
// and for a region that names only a province with several cities.
std::optional<Place> PlaceOf(const IpRegion& region);

// The place as the page writes it after "来自：": the province's own form
// (a province or autonomous region followed by the city and "市", a
// municipality or special region by itself), then a space and the carrier.
std::string PlaceText(const Place& place);

// The location page (UTF-8; the service sends it in GB2312). `address` is the
// caller's address as text; without a place the page names none.
std::string LocationPage(std::string_view address, const std::optional<Place>& place);

// The page around the address: LocationPage is before + the address (when it
// is one) + after. The service converts the two parts once per place.
struct PageParts {
    std::string before;
    std::string after;
};
PageParts LocationPageParts(const std::optional<Place>& place);
// The address as the page may show it: an address's characters only, else empty.
std::string_view EchoedAddress(std::string_view address);

}  // namespace torvane::server
