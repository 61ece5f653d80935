// The settings dialog sz against a fake world: load, the nine switches, the
// refused write, the clock preview, opening and closing, mouse and keys.
#include <gtest/gtest.h>

#include <map>

#include "common/file_io.h"
#include "common/ini_settings.h"
#include "settings/settings_dialog_model.h"
#include "temp_folder.h"

namespace torvane::settings {
namespace {

using Log = std::vector<std::string>;

struct World : Settings, Shell, Clock, SzHost, MainWindowLink {
    Log log;
    std::map<std::string, std::string, std::less<>> sys;
    LocalDateTime now{2014, 2, 5, 14, 5, 9};
    MainWindowTexts texts{"北京", "3℃", "晴", "-2℃~8℃", "2014年2月5日 周三", "[马年]  一月初六"};
    // A narrow main window at the bottom right of a 1920 x 1080 screen.
    MainWindowPlace place{Rect{23320, 7775, 5280, 7785}, 96, Rect{0, 0, 1920, 1040}};
    Rect rect;
    int timerMs = 0;

    std::string ReadSetting(std::string_view, std::string_view key, std::string_view) override {
        const auto it = sys.find(key);
        return it == sys.end() ? std::string() : it->second;
    }
    void WriteSetting(std::string_view, std::string_view key, std::string_view value) override {
        log.push_back("write " + std::string(key) + "=" + std::string(value));
        sys[std::string(key)] = value;
    }
    void OpenWebPage(std::string_view address) override { log.push_back("open " + std::string(address)); }
    LocalDateTime Now() override { return now; }
    void ApplyWindowRect(const Rect& r) override { rect = r; }
    void Show() override { log.push_back("show"); }
    void Hide() override { log.push_back("hide"); }
    Rect RunMoveLoop() override { return log.push_back("move loop"), rect.left += 300, rect; }
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
    void Open() { sz.Open(), w.log.clear(); }
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
    const std::vector<bool> on = {true, true, false, false, false, true, true, false, false};
    for (size_t i = 0; i < kSwitches.size(); ++i) EXPECT_EQ(d.sz.IsOn(kSwitches[i].picture), on[i]) << i;
    EXPECT_EQ(d.Text(SzCtl::Label10) + "|" + d.Text(SzCtl::Label11) + "|" + d.Text(SzCtl::Label12),
              "已设置开机启动日历|开启气泡提示天气|手动升级");
    EXPECT_EQ(d.Text(SzCtl::Label2) + "|" + d.Text(SzCtl::Label3) + "|" + d.Text(SzCtl::Label4),
              "北京    3℃|晴    -2℃~8℃|14:05:09    下午");
    EXPECT_EQ(d.Text(SzCtl::Label5) + "|" + d.Text(SzCtl::Label6) + "|" + d.Text(SzCtl::Label7),
              "2014年2月5日 周三|[马年]  一月初六|节日信息");
    EXPECT_EQ(d.Text(SzCtl::Label13), "官方网站：http://127.0.0.1:8080/");
    // Screen readers hear each switch by its caption.
    EXPECT_EQ(d.Text(SzCtl::c4) + "|" + d.Text(SzCtl::c7), "日期|已设置开机启动日历");
    EXPECT_EQ(d.w.log, (Log{}));  // loading writes nothing
}

TEST(SettingsDialog, EveryClickFlipsWritesAndAppliesItsEffect) {
    for (const SwitchDesign& s : kSwitches) {
        SCOPED_TRACE(s.key);
        Dialog d;
        d.Open();
        const std::string key(s.key), preview = d.Text(s.caption);
        const auto caption = [&](bool on) { return s.showsOnMain ? preview : std::string(on ? s.onCaption : s.offCaption); };
        d.Click(s.caption);  // a preview is no switch; the other captions are
        if (s.showsOnMain) {
            EXPECT_EQ(d.w.log, (Log{}));
            d.Click(s.picture);
        }
        Log expected = {"write " + key + "=False"};
        if (s.showsOnMain) expected.push_back("main reloads");
        EXPECT_EQ(d.w.log, expected);
        EXPECT_FALSE(d.sz.IsOn(s.picture));
        EXPECT_EQ(d.Text(s.caption), caption(false));
        d.Click(s.picture);
        EXPECT_TRUE(d.sz.IsOn(s.picture));
        EXPECT_EQ(d.w.sys[key], "True");
        EXPECT_EQ(d.Text(s.caption), caption(true));
        EXPECT_FALSE(d.sz.element(SzCtl::Focus).visible);  // clicks show no focus mark
    }
}

TEST(SettingsDialog, OnTheRealStoreAClickIsWrittenOrTheSwitchShowsWhatReadsBack) {
    testing_support::TempFolder folder("sz");
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
    for (int i = 0; i < 2; ++i) {
        sz.onKeyDown(kKeySpace, false);
        EXPECT_FALSE(sz.IsOn(SzCtl::c9));  // what a missing value reads as
        EXPECT_EQ(sz.element(SzCtl::Label12).text, "手动升级");
    }
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
}

TEST(SettingsDialog, OpenLoadsOnceCloseUnloadsAndTheNextOpenLoadsAgain) {
    Dialog d;
    d.Open();
    d.w.sys["x4"] = "False";  // written by someone else meanwhile
    d.w.texts.Label1 = "2014年2月6日 周四";
    d.sz.Open();  // a second press: brought forward, not loaded again
    EXPECT_TRUE(d.sz.IsOn(SzCtl::c4));
    d.Click(SzCtl::I1);
    EXPECT_EQ(d.w.log, (Log{"show", "hide"}));
    EXPECT_EQ(d.w.timerMs, 0);
    d.sz.Open();
    EXPECT_FALSE(d.sz.IsOn(SzCtl::c4));
    EXPECT_EQ(d.Text(SzCtl::Label5), "2014年2月6日 周四");
    d.sz.onClose();  // Alt+F4 closes the same way
    EXPECT_FALSE(d.sz.IsLoaded());
}

TEST(SettingsDialog, MouseOpensTheLinkLightsTheCloseButtonAndDragsByBackgroundAndTitle) {
    Dialog d;
    d.Open();
    d.Click(SzCtl::Label13);
    EXPECT_EQ(d.w.log, (Log{"open http://127.0.0.1:8080/"}));
    const Rect close = d.sz.dpi().Px(d.sz.element(SzCtl::I1).rect);
    d.sz.onMouseMove(close.left + 1, close.top + 1);
    EXPECT_EQ(d.sz.element(SzCtl::I1).look, ui::Look::Hover);
    d.sz.onMouseMove(200, 150);
    EXPECT_EQ(d.sz.element(SzCtl::I1).look, ui::Look::Normal);
    for (SzCtl handle : {SzCtl::P1, SzCtl::Label1}) {
        d.w.log.clear();
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
    d.w.log.clear();
    d.sz.onKeyDown(kKeyEnter, false);
    EXPECT_EQ(d.w.log, (Log{"open http://127.0.0.1:8080/"}));
    d.Click(SzCtl::c3);  // a click moves the focus, and its mark, to its switch
    EXPECT_EQ(d.sz.element(SzCtl::Focus).rect.top, d.sz.element(SzCtl::c3).rect.top);
    d.sz.onKeyDown(kKeyEscape, false);
    EXPECT_FALSE(d.sz.IsLoaded());
}

TEST(SettingsDialog, AHeldSpaceOrEnterFlipsTheFocusedSwitchOnce) {
    for (int key : {kKeySpace, kKeyEnter}) {
        SCOPED_TRACE(key);
        Dialog d;
        d.Open();
        d.sz.onKeyDown(kKeyTab, false);
        const SzCtl focused = d.sz.Focused();
        const bool before = d.sz.IsOn(focused);
        d.sz.onKeyDown(key, false);
        for (int i = 0; i < 5; ++i) d.sz.onKeyDown(key, false, true);  // the keyboard repeats it
        EXPECT_EQ(d.sz.IsOn(focused), !before);
        d.sz.onKeyDown(key, false);  // pressed again
        EXPECT_EQ(d.sz.IsOn(focused), before);
    }
}

TEST(SettingsDialog, KeepsItsTwipsAtTheMainWindowsDpiAndSharesOneOnPicture) {
    Dialog d;
    d.w.sys["x2"] = "False";
    d.w.place.dpi = 144;
    d.Open();
    EXPECT_EQ(d.sz.dpi().Px(Rect{0, 0, kSzWidth, kSzHeight}), (Rect{0, 0, 600, 450}));
    EXPECT_EQ(d.sz.Picture(Index(SzCtl::c1)), d.sz.Picture(Index(SzCtl::c3)));
    EXPECT_NE(d.sz.Picture(Index(SzCtl::c1)), d.sz.Picture(Index(SzCtl::c2)));
    EXPECT_EQ(d.sz.Picture(Index(SzCtl::Label10)), nullptr);
}

}  // namespace
}  // namespace torvane::settings
