// The tray that waits for the window's first showing: nothing reaches the
// shell before it, everything after, in the order it happened.
#include <gtest/gtest.h>

#include "calendar/deferred_tray.h"
#include "calendar/tray.h"
#include "calendar_fakes.h"

namespace torvane::calendar {
namespace {

using testing::FakeWorld;

TEST(CalendarDeferredTray, ChangesWaitForTheReleaseAndKeepTheirOrder) {
    struct Case {
        const char* story;
        std::vector<std::string> before;  // icon changes while held: add/balloon/remove
        std::vector<std::string> after;   // the same, once released
    };
    const Case cases[] = {
        {"the start's icon", {"add"}, {}},
        {"an icon and its balloon", {"add", "balloon"}, {}},
        {"an icon gone again", {"add", "balloon", "remove"}, {}},
        {"held, then live", {"add"}, {"balloon", "remove"}},
        {"nothing held", {}, {"add"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.story);
        FakeWorld direct, deferredWorld;
        TrayIcon straight(direct);
        DeferredTray deferred(deferredWorld);
        TrayIcon late(deferred);
        auto act = [](TrayIcon& icon, const std::string& step) {
            if (step == "add") icon.AddTrayIcon("Torvane");
            if (step == "balloon") icon.ShowTrayBalloon("天气", "晴", 1, 3000);
            if (step == "remove") icon.RemoveTrayIcon();
        };
        for (const std::string& step : c.before) {
            act(straight, step);
            act(late, step);
        }
        EXPECT_TRUE(deferredWorld.log.empty()) << "the shell heard of the icon before the window showed";
        deferred.Release();
        for (const std::string& step : c.after) {
            act(straight, step);
            act(late, step);
        }
        EXPECT_EQ(deferredWorld.log, direct.log);
        EXPECT_EQ(deferredWorld.trayRecords, direct.trayRecords);
    }
}

TEST(CalendarDeferredTray, ASecondReleaseRepeatsNothing) {
    FakeWorld world;
    DeferredTray deferred(world);
    TrayIcon icon(deferred);
    icon.AddTrayIcon("Torvane");
    deferred.Release();
    const auto once = world.log;
    deferred.Release();
    EXPECT_EQ(world.log, once);
    EXPECT_FALSE(once.empty());
}

}  // namespace
}  // namespace torvane::calendar
