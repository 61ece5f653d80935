// One fake world behind every port of the main window. Each call that leaves
// a trace outside the program goes into one log, so tests can check order.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calendar/main_window_model.h"

namespace torvane::calendar::testing {

using Log = std::vector<std::string>;

inline std::string Join(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

struct FakeWorld : Clock, Settings, Shell, Autostart, Tray, ProcessEnder, WindowHost,
                   TextResources {
    Log log;
    LocalDateTime now{2014, 2, 5, 9, 5, 3};
    int secondsPerRead = 0;  // >0: the clock moves on between two readings
    std::map<std::string, std::string> sys;  // section "sys" of the settings
    std::map<int, std::string> texts;        // text resources
    std::vector<TrayIconData> trayRecords;   // every add and modify
    std::optional<MenuCommand> menuChoice;
    int menusShown = 0;
    ScreenInfo screen{1920, 1080, 96};
    WindowRect rect;
    bool visible = false;
    int moveLoops = 0;
    int dragBy = 0;  // twips the user drags the window in each move loop
    bool customPointer = false;
    std::map<TimerId, int> timers;

    LocalDateTime Now() override {
        LocalDateTime t = now;
        now.second += secondsPerRead;
        now.minute += now.second / 60, now.second %= 60;
        now.hour += now.minute / 60, now.minute %= 60;
        return t;
    }
    std::string ReadSetting(std::string_view, std::string_view key, std::string_view) override {
        log.push_back(Join({"read ", key}));
        auto it = sys.find(std::string(key));
        return it == sys.end() ? std::string() : it->second;
    }
    void WriteSetting(std::string_view, std::string_view, std::string_view) override {}
    void OpenWebPage(std::string_view address) override { log.push_back(Join({"open ", address})); }
    bool WriteRunValue(std::string_view name, std::string_view data) override {
        log.push_back(Join({"run write ", name, "=", data}));
        return false;  // refused, as without the right to write
    }
    bool DeleteRunValue(std::string_view name) override {
        log.push_back(Join({"run delete ", name}));
        return false;
    }
    void Add(const TrayIconData& d) override { log.push_back("tray add " + d.tip), trayRecords.push_back(d); }
    void Modify(const TrayIconData& d) override { log.push_back("tray modify " + d.tip), trayRecords.push_back(d); }
    void Remove() override { log.push_back("tray remove"); }
    std::optional<MenuCommand> PopupMenu(std::span<const MenuItem>) override {
        ++menusShown;
        log.push_back("tray menu");
        return menuChoice;
    }
    void EndProcessesByName(std::string_view name) override { log.push_back(Join({"end ", name})); }
    ScreenInfo Screen() override { return screen; }
    void ApplyWindowRect(const WindowRect& r) override {
        rect = r;
        log.push_back("rect " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                      std::to_string(r.width) + "x" + std::to_string(r.height));
    }
    void SetVisible(bool v) override { visible = v, log.push_back(v ? "show" : "hide"); }
    bool IsVisible() override { return visible; }
    WindowRect RunMoveLoop() override {
        ++moveLoops, rect.left += dragBy;
        log.push_back("move loop");
        return rect;
    }
    void SetCustomPointer() override { customPointer = true; }
    void StartTimer(TimerId id, int ms) override {
        timers[id] = ms;
        log.push_back("timer start " + std::to_string(static_cast<int>(id)));
    }
    void StopTimer(TimerId id) override { timers.erase(id); }
    void Quit() override { log.push_back("quit"); }
    std::optional<std::string> LoadText(int id) override {
        log.push_back("resource " + std::to_string(id));
        auto it = texts.find(id);
        return it == texts.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

// A feature that owns a few elements and logs every event it hears; its
// answers are what the test puts in `changes`.
struct FakeComponent : Component {
    FakeComponent(Log& log, std::string name, std::vector<Ctl> targets)
        : log(log), name(std::move(name)), targets(std::move(targets)) {}
    std::span<const Ctl> ClickTargets() const override { return targets; }
    ViewChanges OnClick(Ctl id) override {
        log.push_back(name + " click " + std::to_string(Index(id)));
        return changes;
    }
    ViewChanges OnEvent(WindowEvent event) override {
        log.push_back(name + " event " + std::to_string(static_cast<int>(event)));
        return changes;
    }
    Log& log;
    std::string name;
    std::vector<Ctl> targets;
    ViewChanges changes;
};

// Entries "性格1".."性格31" and an empty one.
inline std::string BirthdayTable() {
    std::string text;
    for (int day = 1; day <= 31; ++day) text += Join({"性格", std::to_string(day), "\r\n"});
    return text;
}

// One story per animal, naming its year, with a backslash-n line break.
inline std::string StoryTable() {
    std::string text;
    for (const char* a : {"鼠", "马", "牛", "羊", "虎", "猴", "兔", "鸡", "龙", "狗", "蛇", "猪"})
        text += Join({text.empty() ? "" : "\r\n", a, "：", a, "年的故事\\n第二行"});
    return text;
}

// The fake world with every switch on and two tables, and a model over it.
struct Harness {
    FakeWorld w;
    FrmMain model{FrmMainPorts{w, w, w, w, w, w, w, w},
                  FrmMainConfig{"http://127.0.0.1:8080/", "C:\\Program Files\\Torvane\\torvane.exe"}};
    FakeComponent feature{w.log, "feature", {Ctl::c1, Ctl::Image7}};

    Harness() {
        model.AddComponent(feature);
        for (const char* key : {"x1", "x2", "x3", "x4", "x5", "x6", "x7"}) w.sys[key] = "True";
        w.texts[103] = StoryTable();
        w.texts[105] = BirthdayTable();
    }
    // Start-up and the first showing; the log starts afresh.
    FrmMain& Start() {
        model.FormLoad();
        model.ShowWindow();
        w.log.clear();
        return model;
    }
    const std::string& Text(Ctl id) const { return model.element(id).text; }
    bool Visible(Ctl id) const { return model.element(id).visible; }
    // An element's place in the window's device pixels.
    Rect Pixels(Ctl id) const { return model.dpi().Px(model.element(id).rect); }
    // Client point at the centre of grid cell u (u = offset + day - 1).
    std::pair<int, int> CellCentre(int u) const {
        const GridGeometry g = model.gridGeometry();
        const Rect pic = Pixels(Ctl::picMain);
        return {pic.left + static_cast<int>((u % 7 + 0.5f) * g.cellWidth),
                pic.top + static_cast<int>(g.headerHeight + 4 + (u / 7 + 0.5f) * g.cellHeight)};
    }
    void ClickDay(int day) {
        const auto [x, y] = CellCentre(MonthOffset(model.SelYear(), model.SelMonth()) + day - 1);
        model.onMouseDown(x, y, MouseButton::Left);
    }
    void Click(Ctl id) {
        const Rect r = Pixels(id);
        model.onMouseDown(r.left + r.width / 2, r.top + r.height / 2, MouseButton::Left);
        model.onMouseUp(r.left + r.width / 2, r.top + r.height / 2, MouseButton::Left);
    }
    void Hover(Ctl id) {
        const Rect r = Pixels(id);
        model.onMouseMove(r.left + r.width / 2, r.top + r.height / 2);
    }
};

}  // namespace torvane::calendar::testing
