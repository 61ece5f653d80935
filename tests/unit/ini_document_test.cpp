#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <map>
#include <random>
#include <string>

#include "common/ini_document.h"

namespace torvane::ini {
namespace {

// Bytes that mean something to the parser, mixed with GBK and stray bytes.
std::string RandomIniBytes(std::mt19937& random)
{
    static constexpr std::array<std::string_view, 16> kPieces = {
        "[", "]", "=", ";", "\r", "\n", "\r\n", " ", "\t", std::string_view("\0", 1),
        "sys", "X1", "\xD6\xD0", "\x81\x5D", "\xFF", "\xEF\xBB\xBF"};
    std::uniform_int_distribution<std::size_t> count(0, 40);
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    std::string bytes;
    for (std::size_t n = count(random); n > 0; --n) {
        bytes += kPieces[pick(random)];
    }
    return bytes;
}

TEST(IniDocument, AnyBytesSerializeUnchanged)
{
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = RandomIniBytes(random);
        const IniDocument doc = IniDocument::Parse(bytes);
        ASSERT_EQ(doc.Serialize(), bytes);
        static_cast<void>(doc.Find("sys", "x1"));  // must not crash
    }
}

// After any series of writes, every key reads back its last value, and
// writing again changes no byte outside the written lines.
TEST(IniDocument, RandomWritesReadBackLikeAMap)
{
    static constexpr std::array<std::string_view, 4> kSections = {"sys", "SYS", "版本", "Sys"};
    static constexpr std::array<std::string_view, 5> kKeys = {"x1", "X1", "x2", "键", "DownUrl"};
    static constexpr std::array<std::string_view, 4> kValues = {"True", "", "中文值", "a b"};
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, 3);
    for (int round = 0; round < 300; ++round) {
        IniDocument doc = IniDocument::Parse(RandomIniBytes(random));
        std::map<std::pair<std::string, std::string>, std::string> expected;
        for (int write = 0; write < 12; ++write) {
            std::string section(kSections[pick(random)]);
            std::string key(kKeys[pick(random) + (random() % 2)]);
            const std::string_view value = kValues[pick(random)];
            ASSERT_TRUE(doc.Set(section, key, value));
            for (std::string* name : {&section, &key}) {
                for (char& c : *name) {
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                }
            }
            expected[{section, key}] = value;
            const IniDocument reread = IniDocument::Parse(doc.Serialize());
            for (const auto& [entry, text] : expected) {
                ASSERT_EQ(reread.Find(entry.first, entry.second), text)
                    << entry.first << "/" << entry.second << " in:\n" << doc.Serialize();
            }
        }
    }
}

TEST(IniDocument, RefusesNamesThatWouldReadBackAsSomethingElse)
{
    IniDocument doc = IniDocument::Parse("[sys]\r\nx1=True\r\n");
    for (std::string_view key : {"", "  ", "a=b", "[x]", ";x", "a\nb", "a\rb", "😀"}) {
        EXPECT_FALSE(doc.Set("sys", key, "v")) << key;
    }
    for (std::string_view section : {"", "a\r\nb", "😀"}) {
        EXPECT_FALSE(doc.Set(section, "k", "v")) << section;
    }
    EXPECT_EQ(doc.Serialize(), "[sys]\r\nx1=True\r\n");
    // Names are trimmed and cut at a NUL, as lookups are.
    EXPECT_TRUE(doc.Set(" sys ", std::string_view("x1\0zz", 5), "False"));
    EXPECT_EQ(doc.Serialize(), "[sys]\r\nx1=False\r\n");
}

TEST(IniDocument, AValueCannotAddLines)
{
    IniDocument doc = IniDocument::Parse("[sys]\r\nx1=True\r\nx9=False\r\n");
    ASSERT_TRUE(doc.Set("sys", "x1", "False\r\nx9=True"));
    ASSERT_TRUE(doc.Set("sys", "x2", std::string_view("on\0\nx9=True", 11)));
    EXPECT_EQ(doc.Serialize(), "[sys]\r\nx1=False\r\nx9=False\r\nx2=on\r\n");
}

TEST(IniDocument, Utf16FilesAreNeitherReadNorWritten)
{
    const std::string bytes("\xFF\xFE[\0s\0y\0s\0]\0", 12);
    IniDocument doc = IniDocument::Parse(bytes);
    EXPECT_EQ(doc.encoding(), FileEncoding::Unsupported);
    EXPECT_FALSE(doc.Find("sys", "x1").has_value());
    EXPECT_FALSE(doc.Set("sys", "x1", "True"));
    EXPECT_EQ(doc.Serialize(), bytes);
}

}  // namespace
}  // namespace torvane::ini
