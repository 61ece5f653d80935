// The text conversions see whatever a file or a resource holds. None may
// fail: every output is well-formed in its encoding, and text that an
// encoding can hold survives a round trip through it.
//
// Input: any bytes, read as GBK, as UTF-8 and as UTF-16 (little-endian pairs).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text_codec.h"
#include "fuzz/fuzz_check.h"

namespace {

using torvane::GbkToUtf8;
using torvane::SanitizeUtf8;
using torvane::Utf16ToUtf8;
using torvane::Utf8ToGbk;
using torvane::Utf8ToUtf16;

constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

bool IsWellFormedUtf8(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t length = torvane::Utf8SequenceLength(text);
        if (length == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

std::size_t Count(std::string_view text, char c)
{
    std::size_t n = 0;
    for (char x : text) {
        n += x == c ? 1 : 0;
    }
    return n;
}

bool NoByteAbove7F(std::string_view text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool HasLoneSurrogate(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

void CheckAsGbk(std::string_view bytes)
{
    const std::string utf8 = GbkToUtf8(bytes);
    FUZZ_CHECK(IsWellFormedUtf8(utf8));
    FUZZ_CHECK(SanitizeUtf8(utf8) == utf8);
    const std::string back = Utf8ToGbk(utf8);
    FUZZ_CHECK(IsWellFormedUtf8(GbkToUtf8(back)));
    // GBK that decoded cleanly encodes to the same bytes again: a value the
    // store reads and writes back is not altered.
    if (utf8.find(kUtf8Replacement) == std::string::npos) {
        FUZZ_CHECK(back == bytes);
    }
}

void CheckAsUtf8(std::string_view bytes)
{
    const std::string clean = SanitizeUtf8(bytes);
    FUZZ_CHECK(IsWellFormedUtf8(clean));
    FUZZ_CHECK(SanitizeUtf8(clean) == clean);
    FUZZ_CHECK(IsWellFormedUtf8(bytes) == (clean == bytes));
    FUZZ_CHECK(torvane::IsAscii(bytes) == NoByteAbove7F(bytes));

    const std::string gbk = Utf8ToGbk(bytes);
    FUZZ_CHECK(Utf8ToGbk(clean) == gbk);
    // No replacement was needed: all of the text is GBK and comes back whole.
    if (Count(gbk, '?') == Count(clean, '?')) {
        FUZZ_CHECK(GbkToUtf8(gbk) == clean);
    }

    const std::u16string utf16 = Utf8ToUtf16(bytes);
    FUZZ_CHECK(!HasLoneSurrogate(utf16));
    FUZZ_CHECK(Utf16ToUtf8(utf16) == clean);
    FUZZ_CHECK(Utf8ToUtf16(clean) == utf16);
}

void CheckAsUtf16(std::string_view bytes)
{
    std::u16string utf16;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        utf16 += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    const std::string utf8 = Utf16ToUtf8(utf16);
    FUZZ_CHECK(IsWellFormedUtf8(utf8));
    if (!HasLoneSurrogate(utf16)) {
        FUZZ_CHECK(Utf8ToUtf16(utf8) == utf16);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckAsGbk(bytes);
    CheckAsUtf8(bytes);
    CheckAsUtf16(bytes);
    return 0;
}
