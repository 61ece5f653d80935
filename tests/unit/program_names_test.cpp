// The order in which the suite's programs are ended. The launcher restarts
// the calendar when it finds it gone, so it must go first; the calendar's
// exit item ends the calendar itself, which ends the walk, so it goes last.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/program_names.h"

namespace torvane {
namespace {

TEST(EndOrders, EndTheLauncherFirstEveryProgramOnceAndTheCalendarLastOnExit)
{
    for (const auto& order : {kUninstallEndOrder, kExitEndOrder}) {
        EXPECT_EQ(order.front(), kLauncherExe);
        for (std::string_view program : {kLauncherExe, kCalendarExe, kUpdaterExe})
            EXPECT_EQ(std::ranges::count(order, program), 1) << program;
    }
    EXPECT_EQ(kExitEndOrder.back(), kCalendarExe);
}

}  // namespace
}  // namespace torvane
