// The order in which the suite's programs are ended. The launcher restarts
// the calendar when it finds it gone, so it must go first; the calendar's
// exit item ends the calendar itself, which ends the walk, so it goes last.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "common/program_names.h"

namespace torvane {
namespace {

struct EndOrder {
    const char* name;
    std::array<std::string_view, 3> order;
};

const EndOrder kOrders[] = {{"uninstall", kUninstallEndOrder}, {"exit", kExitEndOrder}};

TEST(EndOrders, EndTheLauncherFirstAndEveryProgramOnce)
{
    for (const EndOrder& order : kOrders) {
        SCOPED_TRACE(order.name);
        EXPECT_EQ(order.order.front(), kLauncherExe);
        for (std::string_view program : {kLauncherExe, kCalendarExe, kUpdaterExe}) {
            EXPECT_EQ(std::ranges::count(order.order, program), 1) << program;
        }
        EXPECT_EQ(std::ranges::count(order.order, kHalterExe), 0);
    }
}

TEST(EndOrders, TheExitItemEndsTheCalendarLast)
{
    EXPECT_EQ(kExitEndOrder.back(), kCalendarExe);
}

}  // namespace
}  // namespace torvane
