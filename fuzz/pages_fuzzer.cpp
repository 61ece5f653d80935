// The location and weather pages come from the network. Their parses never
// fail, and what they hand to the labels is never a piece of markup: a city
// is short and ends in its one space, a weather run holds no "<".
//
// Input: any bytes, decoded from GBK as the fetch decodes a page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text_codec.h"
#include "fuzz/fuzz_check.h"
#include "weather/fetch.h"
#include "weather/pages.h"

namespace {

bool IsMarkupFree(const std::optional<std::string>& text) {
    return !text || text->find('<') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string page = torvane::weather::BytesToBstr(bytes, "gb2312");

    if (const auto city = torvane::weather::ParseLocation(page)) {
        FUZZ_CHECK(!city->empty() && city->back() == ' ');
        FUZZ_CHECK(city->size() <= 8 * 3 + 1);
        FUZZ_CHECK(city->find('<') == std::string::npos && city->find('\n') == std::string::npos);
    }
    if (const auto runs = torvane::weather::ParseWeather(page)) {
        FUZZ_CHECK(page.find("fs_30 tpte") != std::string::npos);
        FUZZ_CHECK(IsMarkupFree(runs->text1) && IsMarkupFree(runs->text5) && IsMarkupFree(runs->text8) &&
                   IsMarkupFree(runs->text10));
    }
    // A city put into a query can never end it or start another field.
    const std::string query = torvane::weather::PercentEncodeGbk(page);
    FUZZ_CHECK(query.find_first_of(" &#?=+\r\n") == std::string::npos);
    for (std::size_t i = 0; i < query.size(); ++i) {
        FUZZ_CHECK(static_cast<unsigned char>(query[i]) < 0x80);
        if (query[i] == '%') FUZZ_CHECK(i + 2 < query.size());
    }
    return 0;
}
