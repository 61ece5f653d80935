// frmMain as a whole, against the fake world: start-up, geometry and buttons,
// mouse and keys on the grid, the lists, the clock and the tray.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "calendar/startup.h"
#include "calendar_fakes.h"
#include "ui/repaint.h"

namespace torvane::calendar {
namespace {

using testing::Harness;
using testing::Log;

constexpr int kScreenW = 1920 * 15;  // twips at 96 DPI

std::string Event(WindowEvent e) { return "feature event " + std::to_string(static_cast<int>(e)); }
std::string ClickOn(Ctl id) { return "feature click " + std::to_string(Index(id)); }

TEST(CalendarStart, MainDecisionAndAutostartValue) {
    testing::FakeWorld w;
    EXPECT_FALSE(RunMain("", w, "http://127.0.0.1/"));
    EXPECT_FALSE(RunMain("  ", w, "http://127.0.0.1/"));
    EXPECT_TRUE(RunMain("qidong", w, "http://127.0.0.1/"));
    EXPECT_EQ(w.log, (Log{"open http://127.0.0.1/", "open http://127.0.0.1/"}));

    EXPECT_EQ(MakeAutostartValue("C:\\Program Files\\Torvane\\torvane.exe"),
              (AutostartValue{"torvane", "\"C:\\Program Files\\Torvane\\torvane.exe\" qidong"}));
    EXPECT_EQ(MakeAutostartValue("D:/apps/torvane.exe")->name, "torvane");
    for (const char* bad : {"", "C:\\Torvane\\", "C:\\a\"b\\torvane.exe"})
        EXPECT_EQ(MakeAutostartValue(bad), std::nullopt) << bad;
}

TEST(CalendarStart, FormLoadRunsItsStepsInOrder) {
    Harness h;
    h.model.FormLoad();
    EXPECT_EQ(h.w.log, (Log{"timer start 1", "tray add Torvane", "read x1", "read x2", "read x3",
                            "read x4", "read x5", "read x6", "read x7",
                            "run write torvane=\"C:\\Program Files\\Torvane\\torvane.exe\" qidong",
                            "rect 23320,7775 5280x7785", "resource 101", "resource 102",
                            "resource 103", "resource 104", "resource 105", "resource 106",
                            Event(WindowEvent::Starting), "timer start 2",
                            Event(WindowEvent::Loaded), "timer start 4"}));
    EXPECT_EQ(h.w.timers, (std::map<TimerId, int>{{TimerId::Timer2, 1000}, {TimerId::T1, 4000},
                                                  {TimerId::TmrLoad, 300}}));
    EXPECT_EQ(h.model.selected(), (SelDate{2014, 2, 5}));
    EXPECT_EQ(h.Text(Ctl::Label5) + "/" + h.Text(Ctl::Label7), "2014/2");
    EXPECT_EQ(h.Text(Ctl::Label1), "2014年2月5日 周三");
    EXPECT_EQ(h.Text(Ctl::Label2) + h.Text(Ctl::La), "09:05:03上午");
    EXPECT_TRUE(h.model.gridDrawList().empty());  // drawn by the first showing
    EXPECT_EQ(h.model.MinWidth(), 5280);
    EXPECT_EQ(h.model.MinHeight(), 7785);

    h.model.ShowWindow();
    EXPECT_TRUE(h.w.visible);
    EXPECT_FALSE(h.model.gridDrawList().empty());
    EXPECT_EQ(h.Text(L(0)), "日程信息 (2014年2月5日)\r\n");
    EXPECT_EQ(h.Text(Ctl::Text1), "马：马年的故事\r\n第二行\r\n");
}

TEST(CalendarStart, PlacementKeepsTheGapsToTheScreenEdges) {
    Harness h;
    h.w.screen = ScreenInfo{1366, 768, 96};
    h.Start();
    const WindowRect r = h.w.rect;
    EXPECT_EQ(1366 * 15 - (r.left + r.width), 200);
    EXPECT_EQ(768 * 15 - (r.top + r.height), 640);
    EXPECT_EQ(h.model.clientWidthPx(), 352);
    EXPECT_EQ(h.Pixels(Ctl::picMain), (Rect{0, 184, 350, 519 - 194}));
}

TEST(CalendarStart, DisplaySwitches) {
    const std::vector<std::vector<Ctl>> switched = {
        {Ctl::Label12, Ctl::Label8, Ctl::Label10, Ctl::Image5}, {Ctl::Label9, Ctl::Label13},
        {Ctl::Label2, Ctl::La}, {Ctl::Label1}, {Ctl::Label4}, {Ctl::Label15, Ctl::Label16}};
    for (size_t off = 0; off < switched.size(); ++off) {
        SCOPED_TRACE(off);
        Harness h;
        h.w.sys["x" + std::to_string(off + 1)] = "False";
        h.Start();
        for (size_t i = 0; i < switched.size(); ++i)
            for (Ctl id : switched[i]) EXPECT_EQ(h.Visible(id), i != off);
    }
    // No settings at all: every switch reads off, autostart is deleted.
    Harness h;
    h.w.sys.clear();
    h.model.FormLoad();
    EXPECT_FALSE(h.Visible(Ctl::Label2));
    EXPECT_NE(std::find(h.w.log.begin(), h.w.log.end(), "run delete torvane"), h.w.log.end());
}

TEST(CalendarStart, MissingTextTablesNeverBreakThePanel) {
    Harness h;
    h.w.texts.clear();
    h.Start();
    h.model.onKeyDown(kKeyRight);
    EXPECT_EQ(h.Text(L(6)), "\r\n");
    EXPECT_EQ(h.Text(Ctl::Text1), "Text1");
    EXPECT_EQ(h.Text(L(0)), "日程信息 (2014年2月6日)\r\n");
}

TEST(CalendarTimers, T1TicksOnceAndFillsTheLists) {
    Harness h;
    h.Start();
    EXPECT_TRUE(h.model.listItems(Ctl::List1).empty());
    h.model.onTimer(TimerId::T1);
    EXPECT_FALSE(h.model.T1Running());
    EXPECT_EQ(h.model.T1Ticks(), 1);
    EXPECT_EQ(h.w.timers.count(TimerId::T1), 0u);
    EXPECT_EQ(h.w.log, Log{Event(WindowEvent::ListsFilled)});
    const auto& years = h.model.listItems(Ctl::List1);
    ASSERT_EQ(years.size(), 150u);
    EXPECT_EQ(years.front() + years.back(), "19002049");
    EXPECT_EQ(h.model.listItems(Ctl::List2).size(), 12u);
    EXPECT_EQ(h.model.listSelection(Ctl::List1), 114);
    EXPECT_EQ(h.model.listSelection(Ctl::List2), 1);
}

TEST(CalendarTimers, ClockTickReadsTheClockOnce) {
    Harness h;
    h.Start();
    h.w.now = {2014, 2, 5, 11, 59, 59};
    h.w.secondsPerRead = 1;  // a second reading would show 12:00:00
    h.model.onTimer(TimerId::Timer2);
    EXPECT_EQ(h.Text(Ctl::Label2) + h.Text(Ctl::La), "11:59:59上午");
    h.model.onTimer(TimerId::Timer2);
    EXPECT_EQ(h.Text(Ctl::Label2) + h.Text(Ctl::La), "12:00:00下午");
}

TEST(CalendarTimers, MidnightRewritesTheHeaderAndMovesToday) {
    Harness h;
    h.w.now = {2014, 2, 5, 23, 59, 59};
    h.Start();
    const auto colourOf = [&h](const std::string& text) {
        for (const DrawOp& op : h.model.gridDrawList())
            if (op.kind == DrawKind::Text && op.text == text) return op.color;
        return Rgb{1, 2, 3};
    };
    EXPECT_EQ(colourOf("5   "), kTodayText);
    h.w.now = {2014, 2, 6, 0, 0, 0};
    h.model.onTimer(TimerId::Timer2);
    EXPECT_EQ(h.Text(Ctl::Label1), "2014年2月6日 周四");
    EXPECT_EQ(h.Text(Ctl::Label3), "周四");
    EXPECT_EQ(h.Text(Ctl::Label4), "[马年]  一月初七");
    EXPECT_EQ(colourOf("6   "), kTodayText);
    EXPECT_EQ(colourOf("5   "), kWorkdayText);
    EXPECT_EQ(h.model.SelDay(), 5);  // the user's selection stays
}

TEST(CalendarGridInput, ClickingADayOpensThePanelAndDragsTheWindow) {
    Harness h;
    h.Start();
    const WindowRect narrow = h.w.rect;
    h.model.onLabel5Click();
    h.ClickDay(20);
    EXPECT_EQ(h.model.SelDay(), 20);
    EXPECT_TRUE(h.model.IsWide());
    EXPECT_EQ(h.w.rect, (WindowRect{kScreenW - 9024 - 200, narrow.top, 9024, narrow.height}));
    EXPECT_EQ(h.model.clientWidthPx(), 602);
    EXPECT_EQ(h.w.moveLoops, 1);
    EXPECT_TRUE(h.w.customPointer && h.model.HasCustomPointer());
    EXPECT_FALSE(h.Visible(Ctl::List1));
    EXPECT_EQ(h.Text(L(0)), "日程信息 (2014年2月20日)\r\n");

    // The header band does nothing; an empty cell still drags.
    const Rect pic = h.Pixels(Ctl::picMain);
    h.model.onMouseDown(pic.left + 100, pic.top + 5, MouseButton::Left);
    EXPECT_EQ(h.w.moveLoops, 1);
    const auto [x, y] = h.CellCentre(0);  // February 2014 starts on a Saturday
    h.model.onMouseDown(x, y, MouseButton::Right);
    EXPECT_EQ(h.model.SelDay(), 20);
    EXPECT_EQ(h.w.moveLoops, 2);
}

TEST(CalendarGridInput, EveryDayOfMay2015CanBeClicked) {
    Harness h;
    h.Start();
    h.model.onTimer(TimerId::T1);
    h.model.onListClick(Ctl::List1, 2015 - 1900);
    h.model.onListClick(Ctl::List2, 4);
    for (int day = 1; day <= 31; ++day) {
        h.ClickDay(day);
        EXPECT_EQ(h.model.SelDay(), day);
    }
    EXPECT_EQ(h.Text(L(0)), "日程信息 (2015年5月31日)\r\n");
}

TEST(CalendarGridInput, KeysAndArrowsKeepTheCaptionsWithTheGrid) {
    Harness h;
    h.Start();
    h.model.onKeyDown(kKeyPageDown);
    EXPECT_EQ(h.model.selected(), (SelDate{2014, 3, 1}));
    EXPECT_EQ(h.Text(Ctl::Label7), "3");
    EXPECT_FALSE(h.model.IsWide());  // keys never open the panel
    h.Click(Image2(3));
    EXPECT_EQ(h.Text(Ctl::Label5), "2015");
    h.Click(Image2(4));
    EXPECT_EQ(h.model.selected(), (SelDate{2014, 2, 5}));
    for (int i = 0; i < 200; ++i) h.Click(Image2(0));
    EXPECT_EQ(h.Text(Ctl::Label5), "1901");
}

TEST(CalendarLists, CaptionsToggleTheListsAndAChoiceKeepsAValidDay) {
    Harness h;
    h.Start();
    h.model.onTimer(TimerId::T1);
    h.Click(Ctl::Label5);
    EXPECT_TRUE(h.Visible(Ctl::List1));
    h.Click(Ctl::Label7);
    EXPECT_TRUE(h.Visible(Ctl::List2));
    EXPECT_FALSE(h.Visible(Ctl::List1));
    h.Click(Ctl::Label7);
    EXPECT_FALSE(h.Visible(Ctl::List2));
    EXPECT_EQ(h.model.element(Ctl::List1).rect.left, h.model.element(Ctl::Label5).rect.left);

    // From 29 February 2012 to 2013: the 28th, not a day that does not exist.
    h.model.onListClick(Ctl::List1, 2012 - 1900);
    for (int i = 0; i < 24; ++i) h.model.onKeyDown(kKeyRight);
    EXPECT_EQ(h.model.selected(), (SelDate{2012, 2, 29}));
    h.Click(Ctl::Label5);
    h.model.onListClick(Ctl::List1, 2013 - 1900);
    EXPECT_EQ(h.model.selected(), (SelDate{2013, 2, 28}));
    EXPECT_EQ(h.Text(Ctl::Label5), "2013");
    EXPECT_FALSE(h.Visible(Ctl::List1));

    // Only the year list reaches 1900; bad picks change nothing.
    h.model.onListClick(Ctl::List1, 0);
    for (int bad : {-1, 150, 100000}) h.model.onListClick(Ctl::List1, bad);
    h.model.onListClick(Ctl::picMain, 3);
    EXPECT_EQ(h.model.selected(), (SelDate{1900, 2, 28}));

    // A caption that was dragged away opens no list.
    h.w.dragBy = 300;
    h.Click(Ctl::Label5);
    EXPECT_FALSE(h.Visible(Ctl::List1));
    EXPECT_EQ(h.model.windowRect().left, h.w.rect.left);
}

TEST(CalendarChrome, CloseCollapseAndMinimumSize) {
    Harness h;
    h.Start();
    h.ClickDay(10);
    const int wideLeft = h.w.rect.left;
    h.Click(Ctl::I11);  // collapse, at the wide window's top right
    EXPECT_FALSE(h.model.IsWide());
    EXPECT_TRUE(h.w.visible);
    EXPECT_EQ(h.w.rect.left, wideLeft);

    h.ClickDay(11);
    h.Click(Ctl::I1);
    EXPECT_FALSE(h.w.visible || h.model.IsVisible());
    EXPECT_EQ(h.w.rect.width, kWindowWidthNarrow);

    h.model.onFormResize(3000, 2000, false);
    EXPECT_EQ(h.w.rect.width * 10000 + h.w.rect.height, 5280 * 10000 + 7785);
    EXPECT_EQ(h.model.windowRect().width * 10000 + h.model.windowRect().height, 5280 * 10000 + 7785);
    h.model.onFormResize(5280, 9000, false);
    EXPECT_EQ(h.Pixels(Ctl::picMain).height, 600 - 194);
    h.model.onFormResize(0, 0, true);  // minimised: nothing happens
    EXPECT_EQ(h.model.windowRect().height, 9000);
}

TEST(CalendarChrome, TheCloseButtonClosesTheNarrowWindow) {
    Harness h;
    h.Start();
    EXPECT_FALSE(h.Visible(Ctl::I11));  // the collapse button belongs to the open panel
    h.Click(Ctl::I1);
    EXPECT_FALSE(h.w.visible);
    h.model.onTrayNotify(kTrayLeftButtonUp);
    h.ClickDay(3);
    EXPECT_TRUE(h.Visible(Ctl::I11));
    EXPECT_FALSE(h.Pixels(Ctl::I11).Intersects(h.Pixels(Ctl::I1)));
    h.Click(Ctl::I11);
    EXPECT_FALSE(h.Visible(Ctl::I11));
    EXPECT_TRUE(h.w.visible);
}

// A clock tick repaints the clock and nothing else: the rectangles the view
// invalidates, from the model's changes.
TEST(CalendarIdle, ATickRepaintsOnlyTheClock) {
    Harness h;
    h.Start();
    ui::RepaintTracker repaint;
    const auto repaintAfter = [&](auto&& event) {
        event();
        return repaint.Update(h.model.elements(), h.model.TakeChanges(), h.model.dpi());
    };
    EXPECT_TRUE(repaintAfter([] {}).all);  // the first showing paints everything
    h.w.now.second = 4;
    const auto tick = repaintAfter([&] { h.model.onTimer(TimerId::Timer2); });
    EXPECT_FALSE(tick.all);
    EXPECT_EQ(tick.rects, std::vector<Rect>{h.Pixels(Ctl::Label2)});
    // The same second again, or the mouse over nothing that lights up: nothing.
    EXPECT_TRUE(repaintAfter([&] { h.model.onTimer(TimerId::Timer2); }).rects.empty());
    EXPECT_TRUE(repaintAfter([&] { h.model.onMouseMove(1, 500); }).rects.empty());
    // A hidden list that opens is painted where it now is.
    h.model.onTimer(TimerId::T1);
    const auto opened = repaintAfter([&] { h.model.onLabel5Click(); });
    EXPECT_NE(std::find(opened.rects.begin(), opened.rects.end(), h.Pixels(Ctl::List1)), opened.rects.end());
}

TEST(CalendarChrome, HoverPictures) {
    Harness h;
    h.Start();
    h.ClickDay(10);  // wide, so I11 is on screen
    const auto look = [&h](Ctl id) { return h.model.element(id).look; };
    for (Ctl id : {Ctl::I1, Ctl::I11, Ctl::Image2_1, Ctl::Image2_4}) h.Hover(id);
    EXPECT_EQ(look(Ctl::Image2_1), Look::Hover);
    h.Hover(Ctl::Image2_2);  // one arrow at a time; the today button keeps its look
    h.Hover(Ctl::Label12);   // labels have no hover rule
    EXPECT_EQ(look(Ctl::Image2_1), Look::Normal);
    EXPECT_EQ(look(Ctl::Image2_2), Look::Hover);
    EXPECT_EQ(look(Ctl::Image2_4), Look::Hover);
    h.model.onMouseMove(340, 20);  // the calendar part's skin, Image1
    for (Ctl id : {Ctl::I1, Ctl::Image2_2, Ctl::Image2_4}) EXPECT_EQ(look(id), Look::Normal);
    EXPECT_EQ(look(Ctl::I11), Look::Hover);
    h.model.onMouseMove(450, 10);  // the panel's top band (the almanac on Image6)
    EXPECT_EQ(look(Ctl::I11), Look::Normal);
    h.Hover(Ctl::I11);
    h.model.onMouseMove(356, 200);  // the panel's skin itself
    EXPECT_EQ(look(Ctl::I11), Look::Normal);
    h.Hover(Ctl::c1);
    h.model.onMouseLeave();
    EXPECT_EQ(look(Ctl::c1), Look::Normal);
}

// Which presses close an open year or month list: a left press on the skin
// or any press on the grid does; a right press on the skin does not.
TEST(CalendarLists, PressesThatCloseAnOpenList) {
    struct Case {
        const char* where;
        int x, y;
        MouseButton button;
        bool closes;
    };
    const Case cases[] = {
        {"skin, left", 340, 20, MouseButton::Left, true},
        {"skin, right", 340, 20, MouseButton::Right, false},
        {"skin, middle", 340, 20, MouseButton::Middle, false},
        {"grid, right", 250, 400, MouseButton::Right, true},
    };
    for (const Case& c : cases) {
        for (Ctl caption : {Ctl::Label5, Ctl::Label7}) {
            SCOPED_TRACE(c.where);
            Harness h;
            h.Start();
            h.model.onTimer(TimerId::T1);
            h.Click(caption);
            const Ctl list = caption == Ctl::Label5 ? Ctl::List1 : Ctl::List2;
            ASSERT_TRUE(h.Visible(list));
            h.model.onMouseDown(c.x, c.y, c.button);
            EXPECT_EQ(h.Visible(list), !c.closes);
        }
    }
}

TEST(CalendarChrome, ButtonsAndSkinsReachTheirFeatures) {
    Harness h;
    h.Start();
    h.Click(Ctl::c1);
    h.model.onMouseDown(340, 20, MouseButton::Left);  // Image1
    const Rect c1 = h.Pixels(Ctl::c1);  // released elsewhere: no click
    h.model.onMouseDown(c1.left + 1, c1.top + 1, MouseButton::Left);
    h.model.onMouseUp(300, 300, MouseButton::Left);
    EXPECT_EQ(h.w.log, (Log{ClickOn(Ctl::c1), Event(WindowEvent::SkinPressed), "move loop"}));

    // What a feature answers is what the window shows.
    h.feature.changes = {{Ctl::Label12, "福州", true, {}}, {Ctl::Label10, std::nullopt, false, {}}};
    h.Click(Ctl::c1);
    EXPECT_EQ(h.Text(Ctl::Label12), "福州");
    EXPECT_FALSE(h.Visible(Ctl::Label10));
    h.w.log.clear();
    h.Click(Ctl::Image7);
    h.Click(Ctl::Label12);  // not the feature's: nobody hears it
    EXPECT_EQ(h.w.log, Log{ClickOn(Ctl::Image7)});
}

TEST(CalendarTrayUse, NotificationsAndMenuCommands) {
    Harness h;
    h.Start();
    h.model.onTrayNotify(kTrayLeftButtonUp);
    EXPECT_FALSE(h.w.visible);
    h.model.onTrayNotify(kTrayLeftButtonUp);
    EXPECT_TRUE(h.w.visible);
    h.w.menuChoice = MenuCommand::ToggleMainWindow;
    h.model.onTrayNotify(kTrayRightButtonUp);
    EXPECT_FALSE(h.w.visible);
    h.model.onTrayNotify(kTrayBalloonClick);
    EXPECT_TRUE(h.w.visible);
    h.w.menuChoice.reset();
    h.model.onTrayNotify(kTrayRightButtonUp);
    h.model.onTrayNotify(513);
    EXPECT_TRUE(h.w.visible);
    EXPECT_EQ(h.w.menusShown, 3);

    h.w.log.clear();
    for (MenuCommand c : {MenuCommand::Feedback, MenuCommand::WhatsNew,
                          MenuCommand::CheckForUpdates, MenuCommand::Separator})
        h.model.onMenuCommand(c);
    EXPECT_EQ(h.w.log, (Log{"open http://127.0.0.1:8080/", "open http://127.0.0.1:8080/",
                            Event(WindowEvent::CheckForUpdates)}));
}

TEST(CalendarTrayUse, ExitRemovesTheIconThenEndsTheSuiteCalendarLast) {
    Harness h;
    h.Start();
    h.w.menuChoice = MenuCommand::Exit;
    h.model.onTrayNotify(kTrayRightButtonUp);
    EXPECT_EQ(h.w.log, (Log{"tray menu", "tray remove", "end torvo.exe", "end torvaneupdate.exe",
                            "end torvane.exe", "quit"}));
    h.w.log.clear();  // without the icon the window no longer answers the tray
    h.model.onTrayNotify(kTrayLeftButtonUp);
    h.model.onTrayNotify(kTrayRightButtonUp);
    EXPECT_TRUE(h.w.log.empty());
}

TEST(CalendarTrayUse, BalloonEndsWithThePlainIcon) {
    Harness h;
    h.Start();
    h.model.ShowTrayBalloon("天气提示", "晴 12~20℃", kTrayInfoIconInformation, 10000);
    EXPECT_EQ(h.w.trayRecords.back().info, "晴 12~20℃");
    h.model.onTimer(TimerId::T3);
    EXPECT_TRUE(h.model.trayIcon().IsPresent());
    EXPECT_EQ(h.w.trayRecords.back(), (TrayIconData{"Torvane", "", "", 0, 0}));
    h.model.onTrayNotify(kTrayLeftButtonUp);
    EXPECT_FALSE(h.w.visible);
}

// Whatever arrives, in whatever order, the selection stays a real day.
TEST(CalendarRobustness, RandomEventsNeverBreakTheModel) {
    Harness h;
    h.model.onKeyDown(kKeyRight);  // events before start-up too
    h.model.onMouseDown(100, 300, MouseButton::Left);
    h.model.onTimer(TimerId::Timer2);
    h.model.onImage2Click(0);
    h.Start();
    h.model.onTimer(TimerId::T1);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> any(-2000, 2000);
    for (int i = 0; i < 3000; ++i) {
        const int x = any(rng), y = any(rng);
        switch (rng() % 8) {
            case 0: h.model.onMouseDown(x, y, MouseButton::Left); break;
            case 1: h.model.onMouseUp(x, y, MouseButton::Left); break;
            case 2: h.model.onMouseMove(x, y); break;
            case 3: h.model.onKeyDown(x); break;
            case 4: h.model.onListClick(rng() % 2 ? Ctl::List1 : Ctl::List2, x); break;
            case 5: h.model.onTrayNotify(static_cast<uint32_t>(x)); break;
            case 6: h.model.onFormResize(x * 10, y * 10, false); break;
            default: h.model.onImage2Click(x % 7); break;
        }
        const SelDate s = h.model.selected();
        ASSERT_TRUE(s.year >= 1900 && s.year <= 2049 && s.day >= 1 &&
                    s.day <= GetMonthDayCount(s.year, s.month));
    }
}

}  // namespace
}  // namespace torvane::calendar
