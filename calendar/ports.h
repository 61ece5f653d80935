// What the main window's model needs from the outside world. The Win32 view
// implements these with the platform; the unit tests implement them with fakes.
// Texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "calendar/constants.h"

namespace torvane::calendar {

struct LocalDateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Opens an address with the shell's "Open" verb; the outcome is not reported.
    virtual void OpenWebPage(std::string_view address) = 0;
};

// The start-with-Windows value under the current user's Run key. A refused
// write or delete returns false; the model carries on either way.
class Autostart {
public:
    virtual ~Autostart() = default;
    virtual bool WriteRunValue(std::string_view valueName, std::string_view data) = 0;
    virtual bool DeleteRunValue(std::string_view valueName) = 0;
};

// The icon record's texts, already cut to their field sizes.
struct TrayIconData {
    std::string tip;
    std::string infoTitle;
    std::string info;  // empty: no balloon
    uint32_t timeoutMs = 0;
    uint32_t infoFlags = 0;
    friend bool operator==(const TrayIconData&, const TrayIconData&) = default;
};

enum class MenuCommand : uint8_t {
    ToggleMainWindow,  // tttr
    Feedback,          // yj
    WhatsNew,          // xxx
    CheckForUpdates,   // jj
    Exit,              // ggg
    Separator,         // hhhh, tt, tttt
};

struct MenuItem {
    MenuCommand command;
    std::string_view name;     // the item's name in the menu design
    std::string_view caption;  // "-" for a separator
};

class Tray {
public:
    virtual ~Tray() = default;
    virtual void Add(const TrayIconData& data) = 0;
    virtual void Modify(const TrayIconData& data) = 0;
    virtual void Remove() = 0;
    // Pops the menu up at the mouse position and returns the chosen item, or
    // nothing when the menu was dismissed.
    virtual std::optional<MenuCommand> PopupMenu(std::span<const MenuItem> items) = 0;
};

class ProcessEnder {
public:
    virtual ~ProcessEnder() = default;
    // Ends every process with this executable name (any letter case). Ending
    // the caller's own name returns only if the caller could not be ended.
    virtual void EndProcessesByName(std::string_view exeName) = 0;
};

struct ScreenInfo {
    int widthPx = 0, heightPx = 0;
    int twipsPerPixelX = kTwipsPerPixel, twipsPerPixelY = kTwipsPerPixel;
};

// The window's outer rectangle in twips.
struct WindowRect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual ScreenInfo Screen() = 0;
    virtual void ApplyWindowRect(const WindowRect& rect) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() = 0;
    // Runs the platform's interactive move loop until the mouse button is
    // released and returns where the window is then.
    virtual WindowRect RunMoveLoop() = 0;
    virtual void SetCustomPointer() = 0;
    virtual void StartTimer(TimerId id, int intervalMs) = 0;
    virtual void StopTimer(TimerId id) = 0;
    // Leaves the program; used only if ending the calendar's own process failed.
    virtual void Quit() = 0;
};

// The six text resources, already converted from GBK.
class TextResources {
public:
    virtual ~TextResources() = default;
    virtual std::optional<std::string> LoadText(int resourceId) = 0;
};

// Places where later features plug into the main window. Until they are
// built each one does nothing.
class FrmMainHooks {
public:
    virtual ~FrmMainHooks() = default;
    virtual void LocateByIp() {}
    virtual void QueryWeather() {}
    virtual void StartVersionCheck() {}
    virtual void OnT1Tick() {}             // province and city lists, web pane
    virtual void ShowSettingsDialog() {}   // c1
    virtual void CheckForUpdatesNow() {}   // tray menu "检查更新"
    virtual void RefreshWeather() {}       // Image7
    virtual void CloseCityPickers() {}     // mouse down on Image1
    virtual void OnTmrLoadTick() {}
};

}  // namespace torvane::calendar
