// Case folding of names: ASCII letters only, in UTF-8 and UTF-16.
#include <gtest/gtest.h>

#include <string_view>

#include "common/ascii_case.h"

namespace torvane {
namespace {

struct Pair {
    std::string_view a;
    std::string_view b;
    bool equal;
};

TEST(AsciiCase, FoldsAsciiLettersOnly)
{
    const Pair cases[] = {
        {"Sys", "sYS", true},
        {"x1", "X1", true},
        {"", "", true},
        {"torvane.exe", "TORVANE.EXE", true},
        {"torvane.exe", "torvane.exe ", false},
        {"[", "{", false},  // 0x5B and 0x7B differ by 32 but are no letters
        {"@", "`", false},
        {"设置", "设置", true},
        {"Ä", "ä", false},  // non-ASCII letters keep their case
        {"天气", "天氣", false},
    };
    for (const Pair& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + std::string(c.b));
        EXPECT_EQ(EqualsIgnoreAsciiCase(c.a, c.b), c.equal);
        EXPECT_EQ(EqualsIgnoreAsciiCase(c.b, c.a), c.equal);
    }
    // Process names arrive as UTF-16.
    EXPECT_TRUE(EqualsIgnoreAsciiCase(std::wstring_view(L"Torvo.EXE"), std::wstring_view(L"torvo.exe")));
    EXPECT_FALSE(EqualsIgnoreAsciiCase(std::wstring_view(L"Ä.exe"), std::wstring_view(L"ä.exe")));
}

}  // namespace
}  // namespace torvane
