// The settings dialog sz against a fake world: load, the nine switches, the
// refused write, the clock preview, opening and closing, mouse and keys.
#include <gtest/gtest.h>

#include <map>

#include "calendar_fakes.h"
#include "common/file_io.h"
#include "common/ini_settings.h"
#include "settings/settings_button.h"
#include "settings/sz.h"
#include "temp_folder.h"

namespace torvane::settings {
namespace {

using Log = std::vector<std::string>;

struct World : Settings, Shell, Clock, SzHost, MainWindowLink {
    Log log;
    std::map<std::string, std::string, std::less<>> sys;
    bool refuseWrites = false;
    LocalDateTime now{2014, 2, 5, 14, 5, 9};
    MainWindowTexts texts{"北京", "3℃", "晴", "-2℃~8℃", "2014年2月5日 周三", "[马年]  一月初六"};
    // A narrow main window at the bottom right of a 1920 x 1080 screen.
    MainWindowPlace place{Rect{23320, 7775, 5280, 7785}, 96, Rect{0, 0, 1920, 1040}};
    Rect rect;
    int timerMs = 0;
    int dragBy = 0;

    std::string ReadSetting(std::string_view, std::string_view key, std::string_view) override {
        const auto it = sys.find(key);
        return it == sys.end() ? std::string() : it->second;
    }
    void WriteSetting(std::string_view, std::string_view key, std::string_view value) override {
        log.push_back("write " + std::string(key) + "=" + std::string(value));
        if (!refuseWrites) sys[std::string(key)] = value;
    }
    void OpenWebPage(std::string_view address) override { log.push_back("open " + std::string(address)); }
    LocalDateTime Now() override { return now; }
    void ApplyWindowRect(const Rect& r) override { rect = r; }
    void Show() override { log.push_back("show"); }
    void Hide() override { log.push_back("hide"); }
    Rect RunMoveLoop() override {
        log.push_back("move loop");
        rect.left += dragBy;
        return rect;
    }
    void SetCustomPointer(bool on) override { log.push_back(on ? "move pointer" : "arrow"); }
    void StartTimer(int ms) override { timerMs = ms; }
    void StopTimer() override { timerMs = 0; }
    MainWindowTexts Texts() override { return texts; }
    MainWindowPlace Place() override { return place; }
    void ReloadDisplaySwitches() override { log.push_back("main reloads"); }
};

struct Dialog {
    World w;
    Sz sz{SzPorts{w, w, w, w, w}, SzConfig{"http://127.0.0.1:8080/"}};

    Dialog() {
        for (const SwitchDesign& s : kSwitches) w.sys[std::string(s.key)] = "True";
    }
    Sz& Open() {
        sz.Open();
        w.log.clear();
        return sz;
    }
    const std::string& Text(SzCtl id) const { return sz.element(id).text; }
    void Click(SzCtl id) {
        const Rect r = sz.dpi().Px(sz.element(id).rect);
        sz.onMouseDown(r.left + r.width / 2, r.top + r.height / 2);
        sz.onMouseUp(r.left + r.width / 2, r.top + r.height / 2);
    }
};

TEST(SettingsDialog, LoadReadsEverySwitchWithTheFlagRuleAndFillsThePreviews) {
    Dialog d;
    d.w.sys = {{"x1", "True"}, {"x2", "true"}, {"x3", "False"}, {"x4", ""}, {"x5", "yes"},
               {"x6", "TRUE"}, {"x7", "True"}, {"x8", "False"}};  // x9 missing
    d.Open();
    const std::vector<bool> expected = {true, true, false, false, false, true, true, false, false};
    for (size_t i = 0; i < kSwitches.size(); ++i) EXPECT_EQ(d.sz.IsOn(kSwitches[i].picture), expected[i]) << i;
    EXPECT_EQ(d.Text(SzCtl::Label10), "已设置开机启动日历");
    EXPECT_EQ(d.Text(SzCtl::Label11), "开启气泡提示天气");
    EXPECT_EQ(d.Text(SzCtl::Label12), "手动升级");
    EXPECT_EQ(d.Text(SzCtl::Label2), "北京    3℃");
    EXPECT_EQ(d.Text(SzCtl::Label3), "晴    -2℃~8℃");
    EXPECT_EQ(d.Text(SzCtl::Label4), "14:05:09    下午");
    EXPECT_EQ(d.Text(SzCtl::Label5), "2014年2月5日 周三");
    EXPECT_EQ(d.Text(SzCtl::Label6), "[马年]  一月初六");
    EXPECT_EQ(d.Text(SzCtl::Label7), "节日信息");
    EXPECT_EQ(d.Text(SzCtl::Label13), "官方网站：http://127.0.0.1:8080/");
    // Screen readers hear each switch by its caption.
    EXPECT_EQ(d.Text(SzCtl::c4), "日期");
    EXPECT_EQ(d.Text(SzCtl::c7), "已设置开机启动日历");
    EXPECT_EQ(d.w.log, (Log{}));  // loading writes nothing
}

TEST(SettingsDialog, EveryClickFlipsWritesAndAppliesItsEffect) {
    for (size_t i = 0; i < kSwitches.size(); ++i) {
        const SwitchDesign& s = kSwitches[i];
        SCOPED_TRACE(s.key);
        Dialog d;
        d.Open();
        const std::string key(s.key);
        // A display switch's caption is a preview: clicking it does nothing.
        const SzCtl target = s.showsOnMain ? s.picture : s.caption;
        if (s.showsOnMain) {
            d.Click(s.caption);
            EXPECT_EQ(d.w.log, (Log{}));
        }
        d.Click(target);
        const Log off = s.showsOnMain ? Log{"write " + key + "=False", "main reloads"} : Log{"write " + key + "=False"};
        EXPECT_EQ(d.w.log, off);
        EXPECT_FALSE(d.sz.IsOn(s.picture));
        if (!s.showsOnMain) {
            EXPECT_EQ(d.Text(s.caption), s.offCaption);
        }
        d.Click(target);
        EXPECT_TRUE(d.sz.IsOn(s.picture));
        EXPECT_EQ(d.w.sys[key], "True");
        if (!s.showsOnMain) {
            EXPECT_EQ(d.Text(s.caption), s.onCaption);
        }
        EXPECT_EQ(d.w.log.size(), 2 * off.size());
    }
}

TEST(SettingsDialog, ARefusedWriteLeavesTheSwitchShowingWhatTheFileHolds) {
    Dialog d;
    d.w.sys["x9"] = "False";
    d.Open();
    d.w.refuseWrites = true;
    d.Click(SzCtl::Label12);
    EXPECT_EQ(d.w.log, (Log{"write x9=True"}));
    EXPECT_FALSE(d.sz.IsOn(SzCtl::c9));
    EXPECT_EQ(d.Text(SzCtl::Label12), "手动升级");
    d.Click(SzCtl::c4);
    EXPECT_TRUE(d.sz.IsOn(SzCtl::c4));
    EXPECT_EQ(d.w.sys["x4"], "True");
}

TEST(SettingsDialog, OnTheRealStoreAClickIsWrittenOrTheSwitchStaysAsStored) {
    testing_support::TempFolder folder("sz");
    ASSERT_FALSE(folder.path().empty());
    const std::string file = (folder.path() / "set.ini").string();
    ASSERT_TRUE(ReplaceFileContents(file, "; mine\r\n[sys]\r\nx9=False\r\n"));
    World w;
    IniSettings store(file);
    Sz sz(SzPorts{store, w, w, w, w}, SzConfig{});
    sz.Open();
    for (int key : {kKeyTab, kKeyTab}) sz.onKeyDown(key, true);  // back past the link to c9
    sz.onKeyDown(kKeySpace, false);
    EXPECT_TRUE(sz.IsOn(SzCtl::c9));
    EXPECT_EQ(ReadFileBytes(file).bytes, "; mine\r\n[sys]\r\nx9=True\r\n");

    // A folder where the file should be: the store refuses every write.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    sz.onKeyDown(kKeySpace, false);
    EXPECT_FALSE(sz.IsOn(SzCtl::c9));  // what a missing value reads as, not the "on" it was
    sz.onKeyDown(kKeySpace, false);
    EXPECT_FALSE(sz.IsOn(SzCtl::c9));
    EXPECT_EQ(sz.element(SzCtl::Label12).text, "手动升级");
}

TEST(SettingsDialog, TheClockPreviewChangesWithTheSecondAndShowsItsOwnWord) {
    Dialog d;
    d.w.now = {2014, 2, 5, 11, 59, 59};
    d.Open();
    EXPECT_EQ(d.w.timerMs, kClockPreviewIntervalMs);
    EXPECT_EQ(d.Text(SzCtl::Label4), "11:59:59    上午");
    d.sz.TakeChanges();
    d.sz.onTimer();  // the same second: nothing to repaint
    EXPECT_TRUE(d.sz.TakeChanges().empty());
    d.w.now = {2014, 2, 5, 12, 0, 0};
    d.sz.onTimer();
    EXPECT_EQ(d.Text(SzCtl::Label4), "12:00:00    下午");
    d.w.now = {2014, 2, 6, 0, 0, 1};
    d.sz.onTimer();
    EXPECT_EQ(d.Text(SzCtl::Label4), "00:00:01    上午");
}

TEST(SettingsDialog, OpenLoadsOnceCloseUnloadsAndTheNextOpenLoadsAgain) {
    Dialog d;
    d.Open();
    d.w.sys["x4"] = "False";  // written by someone else meanwhile
    d.w.texts.Label1 = "2014年2月6日 周四";
    d.sz.Open();  // a second press: brought forward, not loaded again
    EXPECT_EQ(d.w.log, (Log{"show"}));
    EXPECT_TRUE(d.sz.IsOn(SzCtl::c4));
    d.Click(SzCtl::I1);
    EXPECT_EQ(d.w.log, (Log{"show", "hide"}));
    EXPECT_FALSE(d.sz.IsLoaded());
    EXPECT_EQ(d.w.timerMs, 0);
    d.sz.Open();
    EXPECT_FALSE(d.sz.IsOn(SzCtl::c4));
    EXPECT_EQ(d.Text(SzCtl::Label5), "2014年2月6日 周四");
    d.sz.onClose();  // Alt+F4 closes the same way
    EXPECT_FALSE(d.sz.IsLoaded());
}

TEST(SettingsDialog, MouseLinkCloseHoverAndDrag) {
    Dialog d;
    d.Open();
    d.Click(SzCtl::Label13);
    EXPECT_EQ(d.w.log, (Log{"open http://127.0.0.1:8080/"}));

    const Rect close = d.sz.dpi().Px(d.sz.element(SzCtl::I1).rect);
    d.sz.onMouseMove(close.left + 1, close.top + 1);
    EXPECT_EQ(d.sz.element(SzCtl::I1).look, ui::Look::Hover);
    d.sz.onMouseMove(200, 150);
    EXPECT_EQ(d.sz.element(SzCtl::I1).look, ui::Look::Normal);

    // A press released elsewhere clicks nothing.
    const Rect c2 = d.sz.dpi().Px(d.sz.element(SzCtl::c2).rect);
    d.sz.onMouseDown(c2.left + 1, c2.top + 1);
    d.sz.onMouseUp(200, 150);
    EXPECT_TRUE(d.sz.IsOn(SzCtl::c2));

    for (SzCtl handle : {SzCtl::P1, SzCtl::Label1}) {
        d.w.log.clear();
        d.w.dragBy = 300;
        const int before = d.sz.windowRect().left;
        d.Click(handle);
        EXPECT_EQ(d.w.log, (Log{"move pointer", "move loop", "arrow"}));
        EXPECT_EQ(d.sz.windowRect().left, before + 300);
    }
}

TEST(SettingsDialog, KeysMoveTheFocusFlipTheFocusedSwitchAndClose) {
    Dialog d;
    d.Open();
    EXPECT_FALSE(d.sz.element(SzCtl::Focus).visible);  // no mark until a key is used
    d.sz.onKeyDown(kKeySpace, false);
    EXPECT_FALSE(d.sz.IsOn(SzCtl::c1));
    for (size_t step = 1; step <= kFocusOrder.size(); ++step) {
        d.sz.onKeyDown(kKeyTab, false);
        EXPECT_EQ(d.sz.Focused(), kFocusOrder[step % kFocusOrder.size()]);
    }
    d.sz.onKeyDown(kKeyTab, true);  // Shift+Tab from c1: the link
    EXPECT_EQ(d.sz.Focused(), SzCtl::Label13);
    EXPECT_TRUE(d.sz.element(SzCtl::Focus).visible);
    d.w.log.clear();
    d.sz.onKeyDown(kKeyEnter, false);
    EXPECT_EQ(d.w.log, (Log{"open http://127.0.0.1:8080/"}));
    d.sz.onKeyDown(kKeyTab, true);
    d.sz.onKeyDown(kKeyEnter, false);
    EXPECT_FALSE(d.sz.IsOn(SzCtl::c9));
    // A click moves the focus to its switch; the mark follows it.
    d.Click(SzCtl::c3);
    EXPECT_EQ(d.sz.Focused(), SzCtl::c3);
    EXPECT_EQ(d.sz.element(SzCtl::Focus).rect.top, d.sz.element(SzCtl::c3).rect.top);
    d.sz.onKeyDown(kKeyEscape, false);
    EXPECT_FALSE(d.sz.IsLoaded());
}

TEST(SettingsDialog, SwitchesShowTheirTemplatePictureAtTheDialogsDpi) {
    Dialog d;
    d.w.sys["x2"] = "False";
    d.w.place.dpi = 144;
    d.Open();
    EXPECT_EQ(d.sz.dpi().Px(Rect{0, 0, kSzWidth, kSzHeight}), (Rect{0, 0, 600, 450}));
    // A switch is on exactly when it shows the one "on" template.
    EXPECT_EQ(d.sz.Picture(Index(SzCtl::c1)), d.sz.Picture(Index(SzCtl::c3)));
    EXPECT_NE(d.sz.Picture(Index(SzCtl::c1)), d.sz.Picture(Index(SzCtl::c2)));
    // Each picture fills the switch's pixels at this DPI.
    const Rect c1 = d.sz.dpi().Px(d.sz.element(SzCtl::c1).rect);
    for (SzCtl id : {SzCtl::c1, SzCtl::c2}) {
        int right = 0, bottom = 0;
        for (const ui::DrawOp& op : *d.sz.Picture(Index(id))) right = std::max(right, op.x2), bottom = std::max(bottom, op.y2);
        EXPECT_EQ(right, c1.width);
        EXPECT_EQ(bottom, c1.height);
    }
    EXPECT_EQ(d.sz.Picture(Index(SzCtl::Label10)), nullptr);
}

TEST(SettingsDialog, TheMainWindowsSettingsButtonOpensTheDialog) {
    struct Opener : DialogOpener {
        int opened = 0;
        void OpenSettings() override { ++opened; }
    } opener;
    calendar::testing::Harness h;
    SettingsButton button(opener);
    h.model.AddComponent(button);
    h.Start();
    h.Click(calendar::Ctl::c1);
    h.Click(calendar::Ctl::c1);
    EXPECT_EQ(opener.opened, 2);
}

}  // namespace
}  // namespace torvane::settings
