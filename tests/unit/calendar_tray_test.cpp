// The tray icon's state machine, its texts cut to the record's fields, the
// notifications and the menu.
#include <gtest/gtest.h>

#include "calendar/tray.h"
#include "calendar_fakes.h"

namespace torvane::calendar {
namespace {

using testing::FakeWorld;
using testing::Log;

std::string Repeat(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

TEST(CalendarTray, TextsAreCutToTheirFieldsAtCharacterBoundaries) {
    struct Case { std::string text; size_t field; std::string expected; };
    const Case cases[] = {
        {"Torvane", kTrayTipBytes, "Torvane"},
        {Repeat("a", 300), kTrayTipBytes, Repeat("a", 127)},
        {Repeat("天", 100), kTrayTipBytes, Repeat("天", 63)},       // 126 bytes + NUL
        {Repeat("a", 1) + Repeat("天", 100), kTrayTipBytes, Repeat("a", 1) + Repeat("天", 63)},
        {Repeat("a", 2) + Repeat("天", 100), kTrayTipBytes, Repeat("a", 2) + Repeat("天", 62)},
        {Repeat("晴", 40), kTrayInfoTitleBytes, Repeat("晴", 31)},
        {Repeat("雨", 200), kTrayInfoBytes, Repeat("雨", 127)},
        {"天气", 0, ""},
        {"天气", 2, ""},
        {"天气", 3, "天"},
        {std::string("ab\0cd", 5), kTrayTipBytes, "ab"},
        {"\xE5\xA4", kTrayTipBytes, "\xE5\xA4"},  // a broken tail is never split further
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 12));
        EXPECT_EQ(CutToAnsiField(c.text, c.field), c.expected);
    }
}

TEST(CalendarTray, AddTwiceOnlyModifiesAndRemoveWhenAbsentDoesNothing) {
    FakeWorld w;
    TrayIcon icon(w);
    icon.RemoveTrayIcon();
    EXPECT_TRUE(w.log.empty());
    icon.AddTrayIcon("Torvane");
    icon.AddTrayIcon("Torvane");
    EXPECT_TRUE(icon.IsPresent());
    icon.RemoveTrayIcon();
    icon.RemoveTrayIcon();
    EXPECT_FALSE(icon.IsPresent());
    icon.OnTaskbarCreated();  // nothing to restore while removed
    icon.AddTrayIcon("Torvane");
    icon.OnTaskbarCreated();
    EXPECT_EQ(w.log, (Log{"tray add Torvane", "tray modify Torvane", "tray remove",
                        "tray add Torvane", "tray add Torvane"}));
}

TEST(CalendarTray, BalloonFillsTipTitleTextKindAndTimeOut) {
    FakeWorld w;
    TrayIcon icon(w);
    icon.AddTrayIcon("Torvane");
    icon.ShowTrayBalloon("天气提示", Repeat("多云", 100), kTrayInfoIconInformation, 10000);
    const TrayIconData& d = w.trayRecords.back();
    EXPECT_EQ(d.tip, "天气提示");
    EXPECT_EQ(d.infoTitle, "天气提示");
    EXPECT_EQ(d.info, Repeat("多云", 63) + "多");
    EXPECT_EQ(d.infoFlags, kTrayInfoIconInformation);
    EXPECT_EQ(d.timeoutMs, 10000u);
    EXPECT_EQ(w.log.back(), "tray modify 天气提示");
    // The plain icon carries no balloon.
    icon.AddTrayIcon("Torvane");
    EXPECT_EQ(w.trayRecords.back(), (TrayIconData{"Torvane", "", "", 0, 0}));
}

TEST(CalendarTray, NotificationsAndMenu) {
    EXPECT_EQ(TrayReactionTo(kTrayLeftButtonUp), TrayReaction::ToggleWindow);
    EXPECT_EQ(TrayReactionTo(kTrayRightButtonUp), TrayReaction::PopupMenu);
    EXPECT_EQ(TrayReactionTo(kTrayBalloonClick), TrayReaction::PopupMenu);
    for (uint32_t other : {0u, 512u, 513u, 515u, 516u, 1024u, 0xFFFFFFFFu})
        EXPECT_EQ(TrayReactionTo(other), TrayReaction::None) << other;

    std::vector<std::string_view> captions;
    for (const MenuItem& item : kTrayMenu) captions.push_back(item.caption);
    EXPECT_EQ(captions, (std::vector<std::string_view>{"打开主窗口", "-", "意见反馈", "新功能介绍",
                                                       "-", "检查更新", "-", "退出软件"}));
    EXPECT_EQ(kTrayMenu.back().command, MenuCommand::Exit);
}

}  // namespace
}  // namespace torvane::calendar
