// The reader of the IP database on files the tests build in its format.
#include <gtest/gtest.h>

#include "server/ip_database.h"

namespace torvane::server {
namespace {

std::uint32_t Ip(const char* text) { return ParseIpv4(text).value(); }

const std::vector<IpRange> kRanges = {
    {Ip("0.0.0.0"), Ip("0.255.255.255"), "0|0|0|内网IP|内网IP"},
    {Ip("1.0.1.0"), Ip("1.0.3.255"), "中国|0|福建省|福州市|电信"},
    {Ip("1.0.8.0"), Ip("1.0.15.255"), "中国|0|广东省|广州市|电信"},
    {Ip("8.8.8.0"), Ip("8.8.8.255"), "美国|0|0|0|谷歌"},
    {Ip("255.255.255.0"), Ip("255.255.255.255"), "0|0|0|0|0"},
};

TEST(IpDatabase, LooksUpEveryEdgeOfEveryRange) {
    const auto database = IpDatabase::FromBytes(BuildIpDatabase(kRanges));
    ASSERT_TRUE(database);
    EXPECT_EQ(database->BlockCount(), kRanges.size());
    struct Case {
        const char* address;
        std::optional<std::string> province, city, isp;
    };
    const Case cases[] = {
        {"0.0.0.0", "", "内网IP", "内网IP"},
        {"1.0.1.0", "福建省", "福州市", "电信"},
        {"1.0.2.17", "福建省", "福州市", "电信"},
        {"1.0.3.255", "福建省", "福州市", "电信"},
        {"1.0.4.0", std::nullopt, std::nullopt, std::nullopt},  // between ranges
        {"1.0.15.255", "广东省", "广州市", "电信"},
        {"8.8.8.8", "", "", "谷歌"},
        {"255.255.255.255", "", "", ""},
        {"200.1.1.1", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const auto region = database->Lookup(Ip(c.address));
        ASSERT_EQ(region.has_value(), c.province.has_value());
        if (!region) continue;
        EXPECT_EQ(region->province, *c.province);
        EXPECT_EQ(region->city, *c.city);
        EXPECT_EQ(region->isp, *c.isp);
    }
}

TEST(IpDatabase, RefusesEveryDamagedFile) {
    const std::string whole = BuildIpDatabase(kRanges);
    // Cut anywhere: refused (or, for the whole file, read).
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(IpDatabase::FromBytes(whole.substr(0, size))) << size;
    }
    const auto patched = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = whole;
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    const std::uint32_t lastBlock = static_cast<std::uint32_t>(whole.size() - 12);
    const std::string damaged[] = {
        patched(0, lastBlock + 12),          // first block after the last
        patched(4, lastBlock + 1),           // last block not on a block boundary
        patched(0, 2),                       // index inside the super block
        patched(lastBlock + 8, 0xFF000000u | static_cast<std::uint32_t>(whole.size() - 10)),  // data past the end
        patched(lastBlock + 8, 0x02000008u),  // data shorter than its city id
        patched(lastBlock - 12, 0xFFFFFFFFu),  // a range that ends before it starts
        BuildIpDatabase({}),
    };
    for (const std::string& bytes : damaged) EXPECT_FALSE(IpDatabase::FromBytes(bytes));
    EXPECT_FALSE(IpDatabase::FromFile("/nonexistent/ip2region.db"));
}

TEST(ParseIpv4, OnlyDottedQuads) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> address;
    };
    const Case cases[] = {
        {"1.2.3.4", 0x01020304u}, {"255.255.255.255", 0xFFFFFFFFu}, {"0.0.0.0", 0u},
        {"256.1.1.1", std::nullopt}, {"1.2.3", std::nullopt}, {"1.2.3.4.5", std::nullopt},
        {"1.2.3.4 ", std::nullopt}, {"::1", std::nullopt}, {"1..2.3", std::nullopt},
        {"0001.2.3.4", std::nullopt}, {"", std::nullopt}, {"a.b.c.d", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseIpv4(c.text), c.address) << c.text;
}

}  // namespace
}  // namespace torvane::server
