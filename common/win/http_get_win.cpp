#include "common/win/http_get_win.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/win/wininet_api.h"
#include "common/win/wide_text.h"

namespace torvane::win {
namespace {

constexpr DWORD kReadBlock = 16 * 1024;
constexpr wchar_t kAgent[] = L"Torvane";
// The pages change by the minute: never an answer from a cache.
constexpr wchar_t kHeaders[] = L"If-Modified-Since: 0\r\n";

// The Content-Length the server announced, if any.
std::optional<std::uint64_t> ContentLength(const WinInetApi& api, HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!api.HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return std::nullopt;
    std::uint64_t value = 0;
    const std::size_t chars = size / sizeof(wchar_t);
    if (chars == 0 || chars > 19) return std::nullopt;
    for (std::size_t i = 0; i < chars; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - L'0');
    }
    return value;
}

}  // namespace

std::string WinInetGet::GetBody(const std::string& url, std::size_t maxBytes) {
    const WinInetApi* api = WinInetApi::Get();
    if (!api) return {};
    UniqueInternet session(api->InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return {};
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    UniqueInternet request(api->InternetOpenUrlW(session.get(), Utf8ToWide(url).c_str(), kHeaders,
                                            static_cast<DWORD>(-1), flags, 0));
    if (!request) return {};
    // Whatever the status: an error page is returned like any page.
    std::string body;
    char block[kReadBlock];
    while (body.size() < maxBytes) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(sizeof block, maxBytes - body.size()));
        DWORD got = 0;
        if (!api->InternetReadFile(request.get(), block, want, &got)) return {};
        if (got == 0) break;
        body.append(block, got);
    }
    // A page cut off on the way is no page: nothing arrived.
    if (!IsWholeAnswer(ContentLength(*api, request.get()), body.size(), maxBytes)) return {};
    return body;
}

}  // namespace torvane::win
