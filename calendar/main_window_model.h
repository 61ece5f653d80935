// frmMain, the calendar's main window, as a model: all of its state and every
// event handler, with the outside world behind ports. The Win32 view forwards
// messages to the on...() methods and paints elements() and gridDrawList().
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/component.h"
#include "calendar/day_panel.h"
#include "engine/days_off.h"
#include "calendar/grid.h"
#include "calendar/header.h"
#include "calendar/layout.h"
#include "calendar/ports.h"
#include "calendar/tray.h"
#include "common/settings.h"
#include "common/text_tables.h"
#include "ui/press.h"
#include "engine/clsDate.h"

namespace torvane::calendar {

struct FrmMainPorts {
    Clock& clock;
    Settings& settings;
    Shell& shell;
    Autostart& autostart;
    Tray& tray;
    ProcessEnder& processes;
    WindowHost& host;
    TextResources& resources;
};

struct FrmMainConfig {
    std::string homeUrl;  // product home page
    std::string exePath;  // full path of the running torvane.exe
};

enum class MouseButton : uint8_t { Left, Right, Middle };

class FrmMain final : public ComponentHost {
public:
    FrmMain(const FrmMainPorts& ports, FrmMainConfig config);

    // Features join before start-up, in the order they should hear events.
    void AddComponent(Component& component);

    // --- Life -------------------------------------------------------------
    // Start-up, in its order; the window is placed but not laid out yet.
    void FormLoad();
    // The first showing: visible, laid out, grid and panel drawn.
    void ShowWindow();

    // --- Events the view forwards (device pixels of the client area,
    //     window size in twips) ---------------------------------------------
    void onFormResize(int widthTwips, int heightTwips, bool minimized);
    void onMouseDown(int x, int y, MouseButton button);
    void onMouseUp(int x, int y, MouseButton button);
    void onMouseMove(int x, int y);
    void onMouseLeave();
    void onKeyDown(int keyCode);                // keys go to picMain
    void onListClick(Ctl list, int itemIndex);  // List1 or List2
    void onTimer(TimerId id);
    void onTrayNotify(uint32_t event);          // lParam of kTrayCallbackMessage
    void onTaskbarCreated();
    // The window moved to a screen of another DPI; `suggested` is where the
    // system proposes to put it, in pixels of the new DPI.
    void onDpiChanged(int dpi, const Rect& suggested);

    // --- Handlers by control (the dispatchers above call these) -----------
    void onPicMainMouseDown(int x, int y);  // picMain's own pixels
    void onImage2Click(int index);
    void onLabel5Click();
    void onLabel7Click();
    void onI1Click();
    void onI11Click();
    void onC1Click();
    void onMenuCommand(MenuCommand command);

    void ReDrawCalendar();
    // Starts the window move; true when the window ended up elsewhere.
    bool yidong();
    void ShowTrayBalloon(std::string_view title, std::string_view text, uint32_t iconKind,
                         uint32_t timeoutMs);
    // Text height of "星期" in picMain's font, as the view measured it.
    void SetHeaderHeight(int pixels);
    // The statutory days off the grid and the panel follow; shown at once.
    void SetDaysOff(std::shared_ptr<const DaysOff> daysOff);
    const DaysOff* daysOff() const { return daysOff_.get(); }

    // ComponentHost
    void Apply(const ViewChanges& changes) override;
    void ReloadDisplaySwitches() override;
    const std::string& TextOf(Ctl id) const override;
    void Announce(std::string_view title, std::string_view text) override;
    void EndCalendar() override;

    // --- What the view shows ------------------------------------------------
    const ElementSet& elements() const { return elements_; }
    const Element& element(Ctl id) const { return elements_[Index(id)]; }
    // What changed since the view last asked; the view repaints only that.
    ElementSet::Changes TakeChanges() { return elements_.TakeChanges(); }
    const ui::DrawList& gridDrawList() const { return grid_; }
    const std::vector<std::string>& listItems(Ctl list) const;
    // The item matching the displayed year or month, or -1.
    int listSelection(Ctl list) const;
    WindowRect windowRect() const { return rect_; }  // twips
    Rect windowPixels() const;                       // the same rectangle in pixels
    int clientWidthPx() const { return windowPixels().width; }
    int clientHeightPx() const { return windowPixels().height; }
    ui::Dpi dpi() const { return dpi_; }
    bool IsWide() const { return rect_.width == kWindowWidthWide; }
    bool IsVisible() const { return visible_; }
    bool HasCustomPointer() const { return customPointer_; }

    // --- State --------------------------------------------------------------
    int SelYear() const { return sel_.year; }
    int SelMonth() const { return sel_.month; }
    int SelDay() const { return sel_.day; }
    SelDate selected() const { return sel_; }
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    const TrayIcon& trayIcon() const { return tray_; }
    bool T1Running() const { return t1Running_; }
    int T1Ticks() const { return t1Ticks_; }
    GridGeometry gridGeometry() const;

private:
    void ApplyDisplaySwitches();
    void Broadcast(WindowEvent event);
    std::optional<Ctl> ElementAt(int x, int y) const;
    void Route(Ctl id);
    void ApplyAutostart();
    void LoadTextTables();
    void WriteDateHeader(const CivilDate& today);
    void ClockTick();
    void FormResize();
    void SetWindowRect(const WindowRect& rect);
    void SetVisible(bool visible);
    void ToggleVisible();
    void Exit();
    void Click(Ctl id);
    void FillLists();
    void ApplyDayInfo(const DayInfo& info);
    void ToggleList(Ctl show, Ctl other);
    void SetText(Ctl id, std::string text);
    void Show(Ctl id, bool visible);
    CivilDate Today();
    bool PanelOpen() const { return rect_.width > kWindowWidthNarrow; }

    FrmMainPorts ports_;
    FrmMainConfig config_;
    TrayIcon tray_;
    clsDate cal_;
    TextTables tables_;
    ElementSet elements_;
    ui::DrawList grid_;
    std::shared_ptr<const DaysOff> daysOff_;
    std::vector<Component*> components_;
    SelDate sel_;
    std::vector<std::string> list1Items_, list2Items_;
    WindowRect rect_;
    ScreenInfo screen_;
    ui::Dpi dpi_;
    int minWidth_ = 0, minHeight_ = 0;
    int headerHeight_ = kDefaultHeaderHeight;
    std::optional<CivilDate> headerDate_;  // the day the header lines describe
    ui::PressModel presses_;
    bool visible_ = false;
    bool customPointer_ = false;
    bool t1Running_ = false;
    int t1Ticks_ = 0;
};

}  // namespace torvane::calendar
