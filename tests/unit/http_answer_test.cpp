// When the bytes a fetch received are the server's answer.
#include <gtest/gtest.h>

#include "common/http_get.h"

namespace torvane {
namespace {

TEST(HttpAnswer, WholeWhenAllThatWasAnnouncedArrived) {
    constexpr std::size_t kLimit = 1000;
    struct Case { const char* name; std::optional<std::uint64_t> length; std::size_t received; bool whole; };
    const Case cases[] = {
        {"all of the announced length", 300, 300, true},
        {"cut off half-way", 300, 150, false},
        {"nothing of a page that had a body", 300, 0, false},
        {"an empty body announced as such", 0, 0, true},
        {"no length: ended by the connection's close", std::nullopt, 150, true},
        {"a huge page read up to the limit", 5'000'000, kLimit, true},
        {"one byte short of the limit", 5'000'000, kLimit - 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsWholeAnswer(c.length, c.received, kLimit), c.whole);
    }
}

}  // namespace
}  // namespace torvane
