#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/text_codec.h"

namespace torvane {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

std::string RandomBytes(std::mt19937& random, std::size_t maxLength)
{
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(length(random), '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(random));
    }
    return bytes;
}

TEST(GbkCodec, ConvertsChineseBothWays)
{
    EXPECT_EQ(Utf8ToGbk("中文设置"), "\xD6\xD0\xCE\xC4\xC9\xE8\xD6\xC3");
    EXPECT_EQ(GbkToUtf8("\xD6\xD0\xCE\xC4\xC9\xE8\xD6\xC3"), "中文设置");
    EXPECT_EQ(GbkToUtf8("x1=True"), "x1=True");
    EXPECT_EQ(Utf8ToGbk(""), "");
    // Code page 936 maps 0x80 to the euro sign.
    EXPECT_EQ(GbkToUtf8("\x80"), "€");
    EXPECT_EQ(Utf8ToGbk("€"), "\x80");
}

TEST(GbkCodec, TrailBytesThatLookLikeAsciiSurviveARoundTrip)
{
    // Second bytes 0x5B '[', 0x5C '\', 0x5D ']'.
    const std::string text = "乕乗乚";
    const std::string gbk = Utf8ToGbk(text);
    EXPECT_EQ(gbk, "\x81\x5B\x81\x5C\x81\x5D");
    EXPECT_EQ(GbkToUtf8(gbk), text);
}

TEST(GbkCodec, InvalidGbkIsReplacedAndTheRestKept)
{
    EXPECT_EQ(GbkToUtf8("a\xFF" "b"), std::string("a") + std::string(kReplacement) + "b");
    // A lead byte cut off at the end of the text.
    EXPECT_EQ(GbkToUtf8("\xD6\xD0\xD6"), "中" + std::string(kReplacement));
    // A lead byte followed by a byte that cannot trail: the second byte is kept.
    EXPECT_EQ(GbkToUtf8("\xD6" "=1"), std::string(kReplacement) + "=1");
}

TEST(GbkCodec, TextGbkCannotHoldBecomesOneQuestionMarkPerCharacter)
{
    EXPECT_EQ(Utf8ToGbk("a😀b"), "a?b");
    EXPECT_EQ(Utf8ToGbk("中\xFF文"), "\xD6\xD0?\xCE\xC4");  // malformed UTF-8
}

TEST(GbkCodec, ArbitraryBytesNeverGiveMalformedOutput)
{
    std::mt19937 random(20240601);
    for (int round = 0; round < 2000; ++round) {
        const std::string bytes = RandomBytes(random, 64);
        const std::string utf8 = GbkToUtf8(bytes);
        ASSERT_EQ(SanitizeUtf8(utf8), utf8);
        // Whatever came out of GBK goes back to GBK without loss, except the
        // replacement characters, which GBK has no code for.
        std::string expected;
        for (std::string_view rest = utf8; !rest.empty();) {
            const bool replaced = rest.starts_with(kReplacement);
            expected += replaced ? '?' : rest.front();
            rest.remove_prefix(replaced ? kReplacement.size() : 1);
        }
        ASSERT_EQ(GbkToUtf8(Utf8ToGbk(utf8)), expected);
        static_cast<void>(Utf8ToGbk(bytes));  // must not crash
        ASSERT_EQ(Utf16ToUtf8(Utf8ToUtf16(bytes)), SanitizeUtf8(bytes));
    }
}

TEST(GbkCodec, Utf16KeepsSupplementaryCharactersAndReplacesBrokenInput)
{
    const std::string text = "a中😀";
    const std::u16string utf16 = Utf8ToUtf16(text);
    EXPECT_EQ(utf16, (std::u16string{u'a', u'中', 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf16ToUtf8(utf16), text);

    const std::string r(kReplacement);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83D, u'x'}), r + "x");  // lone high surrogate
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00}), r);              // lone low surrogate
    EXPECT_EQ(SanitizeUtf8("\xC0\xAF"), r + r);                     // overlong '/'
    EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80"), r + r + r);             // encoded surrogate
    EXPECT_EQ(SanitizeUtf8("\xF4\x90\x80\x80"), r + r + r + r);     // above U+10FFFF
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), (std::u16string{0xFFFD, 0xFFFD}));
}

}  // namespace
}  // namespace torvane
