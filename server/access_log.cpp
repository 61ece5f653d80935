#include "server/access_log.h"

#include <cstdio>

#include "common/text_codec.h"

namespace torvane::server {
namespace {

void AppendString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    // Invalid UTF-8 becomes U+FFFD first: the line stays valid JSON.
    const std::string clean = SanitizeUtf8(text);
    for (unsigned char c : clean) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

}  // namespace

std::string AccessLine(const AccessRecord& r, std::time_t time) {
    std::tm tm{};
    gmtime_r(&time, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tm);
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, ",\"status\":%u,\"bytes\":%zu,\"ms\":%.3f,\"how\":", r.status, r.bytes,
                  r.milliseconds);
    std::string line = "{\"time\":\"";
    line.reserve(160 + r.target.size());
    line += stamp;
    line += "\",\"peer\":";
    AppendString(line, r.peer);
    line += ",\"client\":";
    AppendString(line, r.client);
    line += ",\"method\":";
    AppendString(line, r.method);
    line += ",\"target\":";
    AppendString(line, r.target);
    line += numbers;
    AppendString(line, r.how);
    line += "}\n";
    return line;
}

}  // namespace torvane::server
