// The Gregorian month lengths the engine gives the window.
#include <gtest/gtest.h>

#include <string>

#include "engine/gregorian.h"

namespace torvane::engine {
namespace {

TEST(EngineGregorian, MonthDaysFollowTheLeapYearRule) {
    struct Case { int year, month, days; };
    const Case cases[] = {{2014, 1, 31}, {2014, 2, 28}, {2012, 2, 29}, {1900, 2, 28},
                          {2000, 2, 29}, {2100, 2, 28}, {2014, 4, 30}, {2014, 12, 31},
                          {-4, 2, 29},   {2014, 0, 0},  {2014, 13, 0}, {2014, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        EXPECT_EQ(GregorianMonthDays(c.year, c.month), c.days);
    }
}

}  // namespace
}  // namespace torvane::engine
