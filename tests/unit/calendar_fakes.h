// Fakes of the main window's ports, recording every call into one shared log
// so that tests can check the order of start-up and exit.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calendar/frm_main.h"

namespace torvane::calendar::testing {

using Log = std::vector<std::string>;

struct FakeClock : Clock {
    LocalDateTime now{2014, 2, 5, 9, 5, 3};
    int secondsPerRead = 0;  // >0: the clock moves on between readings
    int reads = 0;
    LocalDateTime Now() override {
        ++reads;
        LocalDateTime t = now;
        if (secondsPerRead > 0) {
            now.second += secondsPerRead;
            while (now.second >= 60) { now.second -= 60; ++now.minute; }
            while (now.minute >= 60) { now.minute -= 60; ++now.hour; }
        }
        return t;
    }
};

struct FakeSettings : Settings {
    explicit FakeSettings(Log& log) : log(log) {}
    Log& log;
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::string ReadSetting(std::string_view section, std::string_view key,
                            std::string_view defaultValue) override {
        log.push_back("read " + std::string(key));
        auto it = values.find({std::string(section), std::string(key)});
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
    void WriteSetting(std::string_view section, std::string_view key,
                      std::string_view value) override {
        values[{std::string(section), std::string(key)}] = std::string(value);
    }
};

struct FakeShell : Shell {
    explicit FakeShell(Log& log) : log(log) {}
    Log& log;
    void OpenWebPage(std::string_view address) override {
        log.push_back("open " + std::string(address));
    }
};

struct FakeAutostart : Autostart {
    explicit FakeAutostart(Log& log) : log(log) {}
    Log& log;
    bool accept = true;
    bool WriteRunValue(std::string_view name, std::string_view data) override {
        log.push_back("run write " + std::string(name) + "=" + std::string(data));
        return accept;
    }
    bool DeleteRunValue(std::string_view name) override {
        log.push_back("run delete " + std::string(name));
        return accept;
    }
};

struct FakeTray : Tray {
    explicit FakeTray(Log& log) : log(log) {}
    Log& log;
    std::vector<TrayIconData> records;  // every Add and Modify
    std::optional<MenuCommand> choice;  // what the user picks from the menu
    int menusShown = 0;
    void Add(const TrayIconData& d) override {
        log.push_back("tray add " + d.tip);
        records.push_back(d);
    }
    void Modify(const TrayIconData& d) override {
        log.push_back("tray modify " + d.tip);
        records.push_back(d);
    }
    void Remove() override { log.push_back("tray remove"); }
    std::optional<MenuCommand> PopupMenu(std::span<const MenuItem>) override {
        ++menusShown;
        log.push_back("tray menu");
        return choice;
    }
};

struct FakeProcesses : ProcessEnder {
    explicit FakeProcesses(Log& log) : log(log) {}
    Log& log;
    void EndProcessesByName(std::string_view name) override {
        log.push_back("end " + std::string(name));
    }
};

struct FakeHost : WindowHost {
    explicit FakeHost(Log& log) : log(log) {}
    Log& log;
    ScreenInfo screen{1920, 1080, kTwipsPerPixel, kTwipsPerPixel};
    WindowRect rect;
    bool visible = false;
    int moveLoops = 0;
    int dragBy = 0;  // twips the user drags the window in each move loop
    bool customPointer = false;
    std::map<TimerId, int> runningTimers;
    bool quit = false;

    ScreenInfo Screen() override { return screen; }
    void ApplyWindowRect(const WindowRect& r) override {
        log.push_back("rect " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                      std::to_string(r.width) + "x" + std::to_string(r.height));
        rect = r;
    }
    void SetVisible(bool v) override {
        log.push_back(v ? "show" : "hide");
        visible = v;
    }
    bool IsVisible() override { return visible; }
    WindowRect RunMoveLoop() override {
        ++moveLoops;
        log.push_back("move loop");
        rect.left += dragBy;
        return rect;
    }
    void SetCustomPointer() override { customPointer = true; }
    void StartTimer(TimerId id, int ms) override {
        log.push_back("timer start " + std::to_string(static_cast<int>(id)));
        runningTimers[id] = ms;
    }
    void StopTimer(TimerId id) override { runningTimers.erase(id); }
    void Quit() override {
        log.push_back("quit");
        quit = true;
    }
};

struct FakeResources : TextResources {
    explicit FakeResources(Log& log) : log(log) {}
    Log& log;
    std::map<int, std::string> texts;
    std::optional<std::string> LoadText(int id) override {
        log.push_back("resource " + std::to_string(id));
        auto it = texts.find(id);
        if (it == texts.end()) return std::nullopt;
        return it->second;
    }
};

struct RecordingHooks : FrmMainHooks {
    explicit RecordingHooks(Log& log) : log(log) {}
    Log& log;
    void LocateByIp() override { log.push_back("hook location"); }
    void QueryWeather() override { log.push_back("hook weather"); }
    void StartVersionCheck() override { log.push_back("hook version check"); }
    void OnT1Tick() override { log.push_back("hook T1"); }
    void ShowSettingsDialog() override { log.push_back("hook settings"); }
    void CheckForUpdatesNow() override { log.push_back("hook check updates"); }
    void RefreshWeather() override { log.push_back("hook refresh weather"); }
    void CloseCityPickers() override { log.push_back("hook close pickers"); }
};

// Birthday entries "性格1".."性格31" and an empty line; one story per animal,
// each naming its year and carrying a backslash-n line break.
inline std::string BirthdayTable() {
    std::string text;
    for (int day = 1; day <= 31; ++day) text += "性格" + std::to_string(day) + "\r\n";
    return text;
}

inline std::string StoryTable() {
    const char* animals[] = {"鼠", "马", "牛", "羊", "虎", "猴", "兔", "鸡", "龙", "狗", "蛇", "猪"};
    std::string text;
    for (const char* a : animals) {
        if (!text.empty()) text += "\r\n";
        text += std::string(a) + "：" + a + "年的故事\\n第二行";
    }
    return text;
}

// Every port faked, a model over them, and the shared log.
struct Harness {
    Log log;
    FakeClock clock;
    FakeSettings settings{log};
    FakeShell shell{log};
    FakeAutostart autostart{log};
    FakeTray tray{log};
    FakeProcesses processes{log};
    FakeHost host{log};
    FakeResources resources{log};
    RecordingHooks hooks{log};
    FrmMain model{FrmMainPorts{clock, settings, shell, autostart, tray, processes, host,
                               resources, hooks},
                  FrmMainConfig{"http://127.0.0.1:8080/",
                                "C:\\Program Files\\Torvane\\torvane.exe"}};

    Harness() {
        for (const char* key : {"x1", "x2", "x3", "x4", "x5", "x6", "x7"})
            settings.values[{"sys", key}] = "True";
        resources.texts[103] = StoryTable();
        resources.texts[105] = BirthdayTable();
    }
    // Start-up and the first showing, with the log cleared afterwards.
    FrmMain& Start() {
        model.FormLoad();
        model.ShowWindow();
        log.clear();
        return model;
    }
    const std::string& Text(Ctl id) const { return model.element(id).text; }
    // Client point at the centre of grid cell u (u = offset + day - 1).
    std::pair<int, int> CellCentre(int u) const {
        const GridGeometry g = model.gridGeometry();
        const Rect& pic = model.element(Ctl::picMain).rect;
        const int x = static_cast<int>((u % 7 + 0.5f) * g.cellWidth);
        const int y = static_cast<int>(g.headerHeight + 4 + (u / 7 + 0.5f) * g.cellHeight);
        return {pic.left + x, pic.top + y};
    }
    void ClickDay(int day) {
        const auto [x, y] = CellCentre(MonthOffset(model.SelYear(), model.SelMonth()) + day - 1);
        model.onMouseDown(x, y, MouseButton::Left);
    }
    void Click(Ctl id) {
        const Rect& r = model.element(id).rect;
        model.onMouseDown(r.left + r.width / 2, r.top + r.height / 2, MouseButton::Left);
        model.onMouseUp(r.left + r.width / 2, r.top + r.height / 2, MouseButton::Left);
    }
};

}  // namespace torvane::calendar::testing
