#include "update/win/download_file.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>

#include "common/win/wininet_api.h"
#include "common/win/wide_text.h"
#include "update/win/download_target.h"

namespace torvane::update::win {

namespace {

using torvane::win::UniqueInternet;
using torvane::win::WinInetApi;

// The answers to the two header queries are decimal texts of this size.
constexpr DWORD kQueryChars = 32;

std::optional<int64_t> QueryNumber(const WinInetApi& api, HINTERNET request, DWORD query) {
    wchar_t text[kQueryChars] = {};
    DWORD size = sizeof text;
    if (!api.HttpQueryInfoW(request, query, text, &size, nullptr)) return std::nullopt;
    return ParseDecimal(WideToUtf8(std::wstring_view(text, size / sizeof(wchar_t))));
}

int32_t Narrow(int64_t value) { return static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX)); }

class InternetBody final : public BodySource {
public:
    InternetBody(const WinInetApi& api, HINTERNET request) : api_(api), request_(request) {}
    std::optional<size_t> Read(char* buffer, size_t capacity) override {
        DWORD got = 0;
        if (!api_.InternetReadFile(request_, buffer, static_cast<DWORD>(capacity), &got)) return std::nullopt;
        return got;
    }

private:
    const WinInetApi& api_;
    HINTERNET request_;
};

}  // namespace

bool ZeqDownLoadFile::DownLoadFile(const std::string& address, const std::string& filePath, bool hidden,
                                   bool raiseEvents) {
    abort_ = false;
    lastOutcome_ = Transfer(address, filePath, hidden, raiseEvents);
    if (raiseEvents && Complete) Complete();
    return lastOutcome_ == DownloadOutcome::Done;
}

DownloadOutcome ZeqDownLoadFile::Transfer(const std::string& address, const std::string& filePath, bool hidden,
                                          bool raiseEvents) {
    if (!IsDownloadAddress(address)) return DownloadOutcome::Refused;
    const WinInetApi* api = WinInetApi::Get();
    if (!api) return DownloadOutcome::Failed;
    const UniqueInternet internet(api->InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet) return DownloadOutcome::Failed;
    // Always from the server: a check must see the server's current file.
    const UniqueInternet request(api->InternetOpenUrlW(internet.get(), Utf8ToWide(address).c_str(), nullptr, 0,
                                                       INTERNET_FLAG_RELOAD, 0));
    if (!request) return DownloadOutcome::Failed;
    const std::optional<int64_t> status = QueryNumber(*api, request.get(), HTTP_QUERY_STATUS_CODE);
    if (!status || !IsSuccessStatus(static_cast<long>(*status))) return DownloadOutcome::Failed;
    const std::optional<int64_t> length = QueryNumber(*api, request.get(), HTTP_QUERY_CONTENT_LENGTH);
    const std::optional<int64_t> limit =
        unannouncedLimit > 0 ? std::optional<int64_t>(unannouncedLimit) : std::nullopt;
    if (length ? *length <= 0 : !limit) return DownloadOutcome::Failed;
    if (raiseEvents && QueryFileInfo) QueryFileInfo(Narrow(length.value_or(0)));

    DownloadTarget target(Utf8ToWide(filePath), hidden);
    if (!target.ok()) return DownloadOutcome::NotSaved;
    InternetBody body(*api, request.get());
    const DownloadOutcome copied = CopyBody(body, target, length, [&](int64_t total) {
        if (raiseEvents && Loading) Loading(Narrow(total));
        return !abort_;
    }, limit);
    return copied == DownloadOutcome::Done ? target.Commit(std::nullopt) : copied;
}

}  // namespace torvane::update::win
