// Text conversions through the code-page functions of Windows. Code page 936
// is named, not the system ANSI code page, so a file reads the same on any
// system locale.
#include <windows.h>

#include <climits>

#include "common/text_codec.h"
#include "common/win/wide_text.h"

namespace torvane {
namespace {

constexpr UINT kGbkCodePage = 936;

// Invalid input is replaced, never refused: no MB_ERR_INVALID_CHARS.
std::wstring ToWide(UINT codePage, std::string_view text)
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int inLength = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), inLength, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), inLength, out.data(), length);
    return out;
}

std::string FromWide(UINT codePage, std::wstring_view text)
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int inLength = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), inLength, out.data(), length, nullptr,
                        nullptr);
    return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8)
{
    return ToWide(CP_UTF8, utf8);
}

std::string WideToUtf8(std::wstring_view wide)
{
    return FromWide(CP_UTF8, wide);
}

std::wstring GbkToWide(std::string_view gbk)
{
    return ToWide(kGbkCodePage, gbk);
}

std::string WideToGbk(std::wstring_view wide)
{
    return FromWide(kGbkCodePage, wide);
}

std::string GbkToUtf8(std::string_view gbk)
{
    if (IsAscii(gbk)) {
        return std::string(gbk);
    }
    return WideToUtf8(GbkToWide(gbk));
}

// Code page 936 has no character outside the BMP; one '?' stands for each,
// as in the native build, not one per surrogate.
std::wstring MergeSurrogatePairs(std::wstring text)
{
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i, ++out) {
        const bool pair = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() &&
                          IS_LOW_SURROGATE(text[i + 1]);
        text[out] = pair ? L'?' : text[i];
        i += pair ? 1 : 0;
    }
    text.resize(out);
    return text;
}

std::string Utf8ToGbk(std::string_view utf8)
{
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    return WideToGbk(MergeSurrogatePairs(Utf8ToWide(utf8)));
}

}  // namespace torvane
