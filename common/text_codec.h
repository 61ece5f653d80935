// Text conversions at the edges: GBK (code page 936) for the ANSI files and
// resources, UTF-16 for the platform, UTF-8 everywhere else in memory.
// None of these fail: bytes that cannot be converted become a replacement
// character ("?" in GBK, U+FFFD in UTF-8 and UTF-16).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace torvane {

// Platform port: iconv natively, MultiByteToWideChar(936) on Windows.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// Portable.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// The same text with every malformed sequence replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view utf8);
// The length of the well-formed UTF-8 sequence at the start of `text`, or 0
// when it does not start with one.
std::size_t Utf8SequenceLength(std::string_view text);
bool IsAscii(std::string_view text);

}  // namespace torvane
