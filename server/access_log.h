// One line of the access log: a JSON object per request, so that a log
// shipper can read it without a pattern.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace torvane::server {

struct AccessRecord {
    std::string_view peer;    // the connection's address
    std::string_view client;  // the caller (a trusted proxy's forwarded address)
    std::string_view method;
    std::string_view target;  // as the request wrote it: hostile bytes included
    unsigned status = 0;
    std::size_t bytes = 0;
    double milliseconds = 0;
    std::string_view how;  // how the answer was made: "hit", "fetched", "file"...
};

// The record as one line of JSON ending in "\n", `time` as ISO 8601 UTC.
// Bytes that are not UTF-8 or are control characters are escaped.
std::string AccessLine(const AccessRecord& record, std::time_t time);

}  // namespace torvane::server
