// What a request may ask for: the search's city, the update site's files, and
// the service's settings.
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>

#include "server/config.h"
#include "server/query.h"
#include "server/site.h"

namespace torvane::server {
namespace {

TEST(CityOfQuery, GbkPercentEncodedCitiesAndHostileOnes) {
    struct Case {
        std::string query;
        std::optional<std::string> city;
    };
    const Case cases[] = {
        {"city=%C9%EE%DB%DA", "深圳"},
        {"city=%C9%EE%DB%DA%20", "深圳"},  // the calendar's trailing space
        {"city=%c9%ee%db%da+", "深圳"},
        {"a=1&city=%B1%B1%BE%A9", "北京"},
        {"cityname=%C9%EE%DB%DA&city=%B1%B1%BE%A9", "北京"},  // only the key itself
        {"city=abc", "abc"},
        {"city=", std::nullopt},
        {"city=%20%20", std::nullopt},
        {"town=%C9%EE", std::nullopt},
        {"", std::nullopt},
        {"city=%G1", std::nullopt},       // not hex
        {"city=%C9%E", std::nullopt},     // cut short
        {"city=%", std::nullopt},
        {"city=%FF%FF", std::nullopt},    // not GBK
        {"city=%C9", std::nullopt},       // a lead byte alone
        {"city=%C9%EE%00", std::nullopt}, // control characters
        {"city=a%0Ab", std::nullopt},
        {"city=" + std::string(121, 'a'), std::nullopt},
        {"city=" + std::string(100000, '%'), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(CityOfQuery(c.query), c.city) << c.query.substr(0, 40);
}

TEST(ListedCity, NamesTheTablesCity) {
    struct Case {
        const char* name;
        std::optional<std::string_view> city;
    };
    const Case cases[] = {
        {"深圳", "深圳"}, {"黄山市", "黄山市"}, {"黄山", "黄山市"}, {"北京市", "北京"},
        {"石家庄市", "石家庄"}, {"火星", std::nullopt}, {"市", std::nullopt}, {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ListedCity(c.name), c.city) << c.name;
}

TEST(SiteFile, OnlyPlainNamesInsideTheFolder) {
    struct Case {
        const char* path;
        std::optional<std::string> file;
    };
    const Case cases[] = {
        {"/tg/", "index.html"},
        {"/tg/version.txt", "version.txt"},
        {"/tg/torvane-setup-2.1.exe", "torvane-setup-2.1.exe"},
        {"/tg/notes/", "notes/index.html"},
        {"/tg/%E8%AF%B4%E6%98%8E.html", "说明.html"},
        {"/tg/../ip2region.db", std::nullopt},
        {"/tg/%2e%2e/ip2region.db", std::nullopt},
        {"/tg/a/../../x", std::nullopt},
        {"/tg/.hidden", std::nullopt},
        {"/tg//etc/passwd", std::nullopt},
        {"/tg/a%00b", std::nullopt},
        {"/tg/a%5Cb", std::nullopt},
        {"/tg/c:x", std::nullopt},
        {"/tg/%zz", std::nullopt},
        {"/other/x", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(SiteFile(c.path), c.file) << c.path;
}

int MaxAge(std::string_view cacheControl) {
    const std::size_t at = cacheControl.find("max-age=");
    int seconds = -1;
    if (at != std::string_view::npos) {
        std::from_chars(cacheControl.data() + at + 8, cacheControl.data() + cacheControl.size(), seconds);
    }
    return seconds;
}

TEST(SiteFile, VersionFilesAreKeptBrieflyInstallersLong) {
    for (const char* file : {"version.txt", "holidays.txt", "index.html", "version.txt.sig"}) {
        EXPECT_GT(MaxAge(CacheControlOf(file)), 0) << file;
        EXPECT_LE(MaxAge(CacheControlOf(file)), 600) << file;
    }
    EXPECT_GE(MaxAge(CacheControlOf("torvane-setup-2.1.exe")), 86400 * 30);
    EXPECT_NE(ContentTypeOf("index.html").find("text/html"), std::string_view::npos);
    EXPECT_EQ(ContentTypeOf("torvane-setup-2.1.exe"), "application/octet-stream");
}

TEST(SiteFile, TextIsDeclaredInTheEncodingItIsWritten) {
    struct Case {
        const char* file;
        const char* charset;
    };
    const Case cases[] = {
        {"version.txt", "charset=gbk"},        // GBK, CR LF, as version.ini
        {"holidays.txt", "charset=utf-8"},     // the days-off file is UTF-8
        {"2025/holidays.txt", "charset=utf-8"},
        {"2025/version.txt", "charset=gbk"},
        {"old-holidays.txt", "charset=gbk"},   // only the days-off file's own name
        {"index.html", "charset=utf-8"},
    };
    for (const Case& c : cases) {
        EXPECT_NE(ContentTypeOf(c.file).find(c.charset), std::string_view::npos) << c.file;
    }
}

TEST(Config, FlagsAndAFileWithFlagsWinning) {
    const auto file = std::filesystem::temp_directory_path() / "torvane-server-test.conf";
    std::ofstream(file) << "# the service\nport = 9000\ndata=/srv/tv\n"
                           "trusted-proxy = 127.0.0.2\nweather-upstream = http://127.0.0.1:7000/api/\n";
    const auto parsed = ParseCommandLine({"--config", file.string(), "--port", "8081", "--trusted-proxy", "127.0.0.3"});
    std::filesystem::remove(file);
    ASSERT_TRUE(std::holds_alternative<Config>(parsed)) << std::get<std::string>(parsed);
    const Config& config = std::get<Config>(parsed);
    EXPECT_EQ(config.port, 8081);
    EXPECT_EQ(config.data, "/srv/tv");
    EXPECT_EQ(config.trustedProxies, (std::vector<std::string>{"127.0.0.2", "127.0.0.3"}));
    const auto upstream = ParseUpstreamUrl(config.weatherUpstream);
    ASSERT_TRUE(upstream);
    EXPECT_FALSE(upstream->tls);
    EXPECT_EQ(upstream->host, "127.0.0.1");
    EXPECT_EQ(upstream->port, "7000");
    EXPECT_EQ(upstream->basePath, "/api");
}

TEST(Config, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> bad = {
        {"--port"}, {"--port", "70000"}, {"--port", "8o"}, {"--colour", "red"}, {"stray"},
        {"--weather-upstream", "ftp://127.0.0.1"}, {"--weather-upstream", "http://"},
        {"--weather-upstream", "http://127.0.0.1:0"}, {"--upstream-timeout", "30"},
        {"--config", "/nonexistent/torvane.conf"},
    };
    for (const auto& args : bad) EXPECT_TRUE(std::holds_alternative<std::string>(ParseCommandLine(args))) << args[0];
    const auto tls = ParseUpstreamUrl("https://127.0.0.1");
    ASSERT_TRUE(tls);
    EXPECT_TRUE(tls->tls);
    EXPECT_EQ(tls->port, "443");
}

}  // namespace
}  // namespace torvane::server
