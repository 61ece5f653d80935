// What the main window's model needs from the outside world besides the
// shared ports of common/ports.h. The Win32 view implements these with the
// platform; the unit tests implement them with fakes. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "calendar/constants.h"
#include "common/ports.h"

namespace torvane::calendar {

using torvane::Autostart;
using torvane::Clock;
using torvane::LocalDateTime;
using torvane::ProcessEnder;
using torvane::Shell;

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

// The screen the window starts on, in its device pixels, and the DPI the
// window is shown at.
struct ScreenInfo {
    int widthPx = 0, heightPx = 0;
    int dpi = ui::kDesignDpi;
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

}  // namespace torvane::calendar
