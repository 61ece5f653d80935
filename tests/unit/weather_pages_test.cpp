#include <gtest/gtest.h>

#include "weather/pages.h"

namespace torvane::weather {
namespace {

TEST(WeatherPages, LocationByPlaceForm) {
    struct Case {
        const char* page;
        std::optional<std::string> city;
    };
    const Case cases[] = {
        {"您的IP是：[1.2.3.4] 来自：广东省深圳市 电信", "深圳 "},
        {"<center>来自：河北省石家庄市</center>", "石家庄 "},
        {"来自：北京市朝阳区 联通", "北京 "},
        {"来自：内蒙古自治区呼和浩特市 移动", "呼和浩特 "},
        {"来自：广西壮族自治区南宁市", "南宁 "},
        {"来自：香港特别行政区 电讯盈科", "香港 "},
        // No place we can read: the location stays, never a page fragment.
        {"", std::nullopt},
        {"城市：上海市 <p>没有来源</p>", std::nullopt},
        {"石家庄市 来自：美国", std::nullopt},
        {"来自：广东省深圳\n<p>深圳市</p>", std::nullopt},
        // The place ends with its line: a "市" on the next one is not this place.
        {"来自：广东省深圳\n深圳市", std::nullopt},
        {"来自：广东省深圳\r\n深圳市 电信", std::nullopt},
        // Eight characters are still a city; nine are a fragment.
        {"来自：广东省一二三四五六七八市", "一二三四五六七八 "},
        {"来自：市", std::nullopt},
        {"来自：广东省一二三四五六七八九十市", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLocation(c.page), c.city) << c.page;
}

TEST(WeatherPages, RunsCountedAfterTheMarker) {
    // X, then the empty runs between adjacent tags, Y, Z...
    const auto runs = ParseWeather(R"(<p>早</p><b class="fs_30 tpte">X</b><i>Y</i><i>Z</i><s>)"
                                   R"(<s>阴</s>  <u>风</u>)");
    ASSERT_TRUE(runs);
    EXPECT_EQ(runs->text1, "X");
    EXPECT_EQ(runs->text5, "Z");
    EXPECT_EQ(runs->text8, "阴");
    EXPECT_EQ(runs->text10, "风");

    EXPECT_FALSE(ParseWeather("<p>没有找到该城市</p>"));
    // Runs never closed by "<" are missing; the closed ones before stay.
    const auto open = ParseWeather(R"(<b class="fs_30 tpte">12℃</b><i>多云 3级)");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->text1, "12℃");
    EXPECT_FALSE(open->text5 || open->text8 || open->text10);
    // The fifth run never closed: text5 stays missing, the four before are read.
    const auto fifth = ParseWeather(R"(<b class="fs_30 tpte">X</b><i>Y</i><i>Z 多云 3级)");
    ASSERT_TRUE(fifth);
    EXPECT_EQ(fifth->text1, "X");
    EXPECT_FALSE(fifth->text5);
    EXPECT_FALSE(fifth->text8 || fifth->text10);
    const auto cut = ParseWeather("fs_30 tpte");
    ASSERT_TRUE(cut);
    EXPECT_FALSE(cut->text1);
}

TEST(WeatherPages, QueryTextAndPictureNames) {
    EXPECT_EQ(PercentEncodeGbk("深圳 "), "%C9%EE%DB%DA%20");
    EXPECT_EQ(PercentEncodeGbk("a&b=c#d"), "a%26b%3Dc%23d");
    EXPECT_EQ(PercentEncodeGbk("Xi-an_2.~"), "Xi-an_2.~");
    for (const char* name : {"晴", "多云转晴", "雷阵雨"}) EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const char* name : {"", "..", "..\\set", "a/b", "C:x", "a*", "a\x01"}) EXPECT_FALSE(IsPlainFileName(name)) << name;
}

}  // namespace
}  // namespace torvane::weather
