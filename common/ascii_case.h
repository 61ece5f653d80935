// ASCII-only letter case, for names the programs spell themselves (INI
// section and key names, executable names). Meant for UTF-8 and UTF-16 text:
// no byte or unit of a non-ASCII character lies in 'A'..'Z', so those
// characters compare as they are. Not for GBK bytes, whose trail bytes may.
#pragma once

#include <cstddef>
#include <string_view>

namespace torvane {
namespace ascii_detail {

template <class Char>
constexpr Char Lower(Char c)
{
    return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <class Char>
constexpr bool EqualsFolded(std::basic_string_view<Char> a, std::basic_string_view<Char> b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace ascii_detail

constexpr char AsciiLower(char c) { return ascii_detail::Lower(c); }
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr wchar_t AsciiLower(wchar_t c) { return ascii_detail::Lower(c); }
constexpr char16_t AsciiLower(char16_t c) { return ascii_detail::Lower(c); }

constexpr bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    return ascii_detail::EqualsFolded(a, b);
}
constexpr bool EqualsIgnoreAsciiCase(std::wstring_view a, std::wstring_view b)
{
    return ascii_detail::EqualsFolded(a, b);
}
constexpr bool EqualsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b)
{
    return ascii_detail::EqualsFolded(a, b);
}

}  // namespace torvane
