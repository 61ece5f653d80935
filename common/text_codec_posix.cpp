// GBK conversion through glibc's iconv for the native build.
#ifndef _WIN32

#include <algorithm>
#include <cerrno>
#include <iconv.h>

#include "common/text_codec.h"

namespace torvane {
namespace {

constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
constexpr std::string_view kGbkReplacement = "?";
constexpr std::size_t kChunkSize = 4096;
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != kNoConverter; }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// How many input bytes to drop after a sequence iconv refused.
using SkipRule = std::size_t (*)(std::string_view rest);

std::size_t SkipOneByte(std::string_view)
{
    return 1;
}

// A well-formed UTF-8 character GBK cannot hold is dropped as a whole, so it
// gives one replacement, not one per byte.
std::size_t SkipUtf8Character(std::string_view rest)
{
    const std::size_t length = Utf8SequenceLength(rest);
    return length == 0 ? 1 : length;
}

// Only ASCII survives when the converter itself is missing.
std::string AsciiOnly(std::string_view in, std::string_view replacement)
{
    std::string out;
    for (char c : in) {
        if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
        } else {
            out += replacement;
        }
    }
    return out;
}

std::string Convert(std::string_view in, const Converter& converter,
                    std::string_view replacement, SkipRule skip)
{
    if (!converter.ok()) {
        return AsciiOnly(in, replacement);
    }
    std::string out;
    out.reserve(in.size() * 2);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[kChunkSize];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) {
            continue;
        }
        // EILSEQ (bad or unmappable) or EINVAL (cut off at the end).
        out += replacement;
        const std::size_t dropped = std::min(inLeft, skip(std::string_view(inPtr, inLeft)));
        inPtr += dropped;
        inLeft -= dropped;
        iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk)
{
    if (IsAscii(gbk)) {
        return std::string(gbk);
    }
    Converter converter("UTF-8", "GBK");
    return Convert(gbk, converter, kUtf8Replacement, SkipOneByte);
}

std::string Utf8ToGbk(std::string_view utf8)
{
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    const std::string clean = SanitizeUtf8(utf8);
    Converter converter("GBK", "UTF-8");
    return Convert(clean, converter, kGbkReplacement, SkipUtf8Character);
}

}  // namespace torvane

#endif  // !_WIN32
