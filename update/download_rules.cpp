#include "update/download_rules.h"

#include <array>
#include <cmath>

#include "common/ascii_case.h"
#include "common/text_codec.h"

namespace torvane::update {

namespace {

constexpr std::array<std::string_view, 2> kSchemes = {"http://", "https://"};
constexpr std::string_view kContentLength = "content-length";
constexpr size_t kSha256HexDigits = 64;
constexpr double kBytesPerKilobyte = 1024.0;
constexpr double kMsPerSecond = 1000.0;

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool IsDownloadAddress(std::string_view address) {
    for (std::string_view scheme : kSchemes) {
        if (StartsWithFolded(address, scheme)) {
            const std::string_view rest = address.substr(scheme.size());
            return !rest.empty() && rest.front() != '/' && rest.find_first_of(" \t\r\n") == std::string_view::npos;
        }
    }
    return false;
}

std::optional<int64_t> ParseDecimal(std::string_view text) {
    text = TrimBlanks(text);
    // 18 digits always fit in 64 bits.
    if (text.empty() || text.size() > 18) return std::nullopt;
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int64_t> ContentLengthOf(std::string_view headers) {
    while (!headers.empty()) {
        const size_t end = headers.find('\n');
        std::string_view line = headers.substr(0, end);
        headers = end == std::string_view::npos ? std::string_view{} : headers.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos && EqualsIgnoreAsciiCase(TrimBlanks(line.substr(0, colon)), kContentLength))
            return ParseDecimal(line.substr(colon + 1));
    }
    return std::nullopt;
}

DownloadOutcome JudgeBody(std::optional<int64_t> announced, int64_t received, bool digestKnown) {
    if (!announced) return digestKnown && received > 0 ? DownloadOutcome::Done : DownloadOutcome::Failed;
    if (*announced <= 0) return DownloadOutcome::Failed;
    return received == *announced ? DownloadOutcome::Done : DownloadOutcome::Cut;
}

int32_t TransferRate(uint32_t intervalMs, int64_t bytesSince) {
    if (intervalMs == 0 || bytesSince <= 0) return 0;
    const double rate = static_cast<double>(bytesSince) / intervalMs * kMsPerSecond / kBytesPerKilobyte;
    return rate >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(std::lround(rate));
}

std::string StrFromPtr(const void* text, bool unicode) {
    if (!text) return {};
    if (unicode) return Utf16ToUtf8(std::u16string_view(static_cast<const char16_t*>(text)));
    return GbkToUtf8(std::string_view(static_cast<const char*>(text)));
}

std::optional<std::string> NormalizeSha256(std::string_view hex) {
    hex = TrimBlanks(hex);
    if (hex.size() != kSha256HexDigits) return std::nullopt;
    std::string lower;
    for (const char c : hex) {
        const char l = AsciiLower(c);
        if (!((l >= '0' && l <= '9') || (l >= 'a' && l <= 'f'))) return std::nullopt;
        lower += l;
    }
    return lower;
}

DownloadOutcome CopyBody(BodySource& source, BodySink& sink, std::optional<int64_t> announced,
                         const std::function<bool(int64_t total)>& afterBlock,
                         std::optional<int64_t> unannouncedLimit) {
    const bool unannounced = !announced && unannouncedLimit;
    std::array<char, kDownloadBlockBytes> block;
    int64_t total = 0;
    for (;;) {
        const std::optional<size_t> got = source.Read(block.data(), block.size());
        if (!got) return DownloadOutcome::Cut;
        if (*got == 0) break;
        if (!sink.Write(block.data(), *got)) return DownloadOutcome::NotSaved;
        total += static_cast<int64_t>(*got);
        // More than announced can only be a broken answer; stop reading it.
        if (announced && total > *announced) return DownloadOutcome::Cut;
        // Without a length, a body past its limit is a server that never ends.
        if (unannounced && total > *unannouncedLimit) return DownloadOutcome::Cut;
        if (afterBlock && !afterBlock(total)) return DownloadOutcome::Aborted;
    }
    return JudgeBody(announced, total, unannounced);
}

}  // namespace torvane::update
