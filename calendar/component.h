// Features of the main window (weather, city pickers, web pane, version
// check, settings dialog) are components the window owns. A component
// answers the window's events that concern it and says what the window must
// show as a plain value, which the window applies; it never reaches into the
// window's elements itself.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/layout.h"

namespace torvane::calendar {

// Moments of the window's life a feature may take part in.
enum class WindowEvent : uint8_t {
    Starting,        // start-up, once today is known (locating, the first weather query)
    Loaded,          // the end of start-up (the version check)
    ListsFilled,     // T1's one tick (province lists, web pane)
    LoadTimerTick,   // TmrLoad
    SkinPressed,     // a press on the calendar's background (open pickers close)
    CheckForUpdates, // the tray menu's item
};

// One element's new text, visibility and/or picture file.
struct ElementChange {
    Ctl id = Ctl::Count;
    std::optional<std::string> text;
    std::optional<bool> visible;
    std::optional<std::string> picture;
    friend bool operator==(const ElementChange&, const ElementChange&) = default;
};
using ViewChanges = std::vector<ElementChange>;

class Component {
public:
    virtual ~Component() = default;
    // The elements whose clicks this component answers.
    virtual std::span<const Ctl> ClickTargets() const { return {}; }
    virtual ViewChanges OnClick(Ctl /*id*/) { return {}; }
    virtual ViewChanges OnEvent(WindowEvent /*event*/) { return {}; }
};

// The window as its components see it, for what arrives later (a finished
// background job): changes to show, and the display switches to read again.
class ComponentHost {
public:
    virtual ~ComponentHost() = default;
    virtual void Apply(const ViewChanges& changes) = 0;
    virtual void ReloadDisplaySwitches() = 0;
    // What an element shows now.
    virtual const std::string& TextOf(Ctl id) const = 0;
    // An information balloon on the tray icon; T3 takes it down after two
    // seconds and leaves the icon.
    virtual void Announce(std::string_view title, std::string_view text) = 0;
    // Ends the calendar at once (for the updater), its tray icon first.
    virtual void EndCalendar() = 0;
};

}  // namespace torvane::calendar
