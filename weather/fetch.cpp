#include "weather/fetch.h"

#include <algorithm>
#include <cmath>

#include "common/ascii_case.h"
#include "common/text_codec.h"

namespace torvane::weather {

std::string BytesToBstr(std::string_view body, std::string_view charset) {
    if (body.empty()) return {};
    if (EqualsIgnoreAsciiCase(charset, "utf-8") || EqualsIgnoreAsciiCase(charset, "utf8"))
        return SanitizeUtf8(body);
    return GbkToUtf8(body);
}

JobId GetYM(BackgroundWork& work, std::shared_ptr<HttpGet> http, std::string kind, std::string url,
            std::string charset, double chaoshi, std::function<void(std::string)> done) {
    // At least a millisecond: a zero time-out would mean no time-out at all.
    const double ms = std::isfinite(chaoshi) ? std::clamp(chaoshi * 1000.0, 1.0, 3'600'000.0) : 1.0;
    auto finished = std::make_shared<std::function<void(std::string)>>(std::move(done));
    return work.Run<std::string>(
        JobOptions{std::move(kind), static_cast<int>(ms)},
        [http = std::move(http), url = std::move(url), charset = std::move(charset)] {
            return BytesToBstr(http->GetBody(url, kMaxBodyBytes), charset);
        },
        [finished](std::string text) { (*finished)(std::move(text)); },
        [finished] { (*finished)(std::string()); });
}

}  // namespace torvane::weather
