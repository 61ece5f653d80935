#include "common/text_codec.h"

namespace torvane {
namespace {

constexpr char32_t kReplacementChar = 0xFFFD;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateLast = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr unsigned kContinuationMask = 0xC0;
constexpr unsigned kContinuationTag = 0x80;

bool IsContinuation(unsigned char byte)
{
    return (byte & kContinuationMask) == kContinuationTag;
}

// Decodes one well-formed sequence; returns its length, 0 when malformed.
std::size_t DecodeUtf8(std::string_view text, char32_t& codePoint)
{
    if (text.empty()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = kFirstSupplementary, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!IsContinuation(byte)) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool surrogate = codePoint >= kSurrogateFirst && codePoint <= kSurrogateLast;
    if (codePoint < minimum || codePoint > kMaxCodePoint || surrogate) {
        return 0;
    }
    return length;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < kFirstSupplementary) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Calls `emit` with each code point; malformed bytes become U+FFFD one by one.
template <class Emit>
void ForEachCodePoint(std::string_view text, Emit emit)
{
    while (!text.empty()) {
        char32_t cp = 0;
        std::size_t length = DecodeUtf8(text, cp);
        if (length == 0) {
            cp = kReplacementChar;
            length = 1;
        }
        emit(cp);
        text.remove_prefix(length);
    }
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text)
{
    char32_t ignored = 0;
    return DecodeUtf8(text, ignored);
}

bool IsAscii(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string SanitizeUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    ForEachCodePoint(utf8, [&out](char32_t cp) { AppendUtf8(out, cp); });
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    ForEachCodePoint(utf8, [&out](char32_t cp) {
        if (cp < kFirstSupplementary) {
            out += static_cast<char16_t>(cp);
        } else {
            const char32_t offset = cp - kFirstSupplementary;
            out += static_cast<char16_t>(kSurrogateFirst + (offset >> 10));
            out += static_cast<char16_t>(kLowSurrogateFirst + (offset & 0x3FF));
        }
    });
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        const bool high = cp >= kSurrogateFirst && cp < kLowSurrogateFirst;
        const bool low = cp >= kLowSurrogateFirst && cp <= kSurrogateLast;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= kLowSurrogateFirst &&
            utf16[i + 1] <= kSurrogateLast) {
            cp = kFirstSupplementary + ((cp - kSurrogateFirst) << 10) +
                 (utf16[i + 1] - kLowSurrogateFirst);
            ++i;
        } else if (high || low) {
            cp = kReplacementChar;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

}  // namespace torvane
