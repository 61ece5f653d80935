// The access log stays one valid JSON object a line whatever a request held.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "server/access_log.h"

namespace torvane::server {
namespace {

TEST(AccessLine, HostileTargetsStayOneValidJsonLine) {
    const std::string targets[] = {
        "/search.php?city=%C9%EE",     "/\"},{\"status\":500",        std::string("/a\nb\r\0c", 7),
        "/\xC9\xEE\xFF\xFE",           "/\\u0000\\",                  std::string(10000, 'x'),
        "/深圳",                       "",
    };
    for (const std::string& target : targets) {
        SCOPED_TRACE(target.substr(0, 30));
        const std::string line = AccessLine({"127.0.0.1", "127.0.0.2", "GET", target, 200, 12, 0.25, "hit"}, 0);
        ASSERT_EQ(line.back(), '\n');
        EXPECT_EQ(line.find('\n'), line.size() - 1);
        const auto json = nlohmann::json::parse(line, nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << line;
        EXPECT_EQ(json["status"], 200);
        EXPECT_EQ(json["bytes"], 12);
        EXPECT_EQ(json["client"], "127.0.0.2");
        EXPECT_EQ(json["time"], "1970-01-01T00:00:00Z");
        if (target.find_first_of("\n\r\xFF") == std::string::npos && target.find('\0') == std::string::npos) {
            EXPECT_EQ(json["target"], target);
        }
    }
}

}  // namespace
}  // namespace torvane::server
