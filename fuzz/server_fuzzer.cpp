// What reaches the service from outside: a search's query string, an update
// site path, a forecast answer and the IP database file. None of the readers
// fails, and what they let through is safe to use: a site file never leaves
// its folder, a city holds no control character, a forecast is finite.
//
// Input: a selector byte, then the bytes for that reader.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "server/forecast.h"
#include "server/ip_database.h"
#include "server/query.h"
#include "server/site.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
        case 0:
            if (const auto city = torvane::server::CityOfQuery(bytes)) {
                FUZZ_CHECK(!city->empty());
                for (unsigned char c : *city) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
            }
            break;
        case 1:
            if (const auto file = torvane::server::SiteFile("/tg/" + std::string(bytes))) {
                FUZZ_CHECK(!file->empty() && file->front() != '/');
                FUZZ_CHECK(("/" + *file + "/").find("/../") == std::string::npos);
                FUZZ_CHECK(file->find('\0') == std::string::npos && file->find('\\') == std::string::npos);
            }
            break;
        case 2:
            if (const auto forecast = torvane::server::ParseForecast(bytes)) {
                FUZZ_CHECK(std::isfinite(forecast->temperature) && std::isfinite(forecast->high) &&
                           std::isfinite(forecast->windDirection));
                const std::string page = torvane::server::WeatherPage("深圳", *forecast);
                FUZZ_CHECK(page.find("fs_30 tpte") != std::string::npos);
            }
            break;
        default:
            if (const auto database = torvane::server::IpDatabase::FromBytes(std::string(bytes))) {
                for (std::uint32_t address : {0u, 0x7F000001u, 0x01020304u, 0xFFFFFFFFu}) database->Lookup(address);
                for (std::size_t i = 0; i < database->BlockCount(); ++i) database->BlockAt(i);
            }
            break;
    }
    return 0;
}
