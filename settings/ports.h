// What the settings dialog needs from the outside world besides the shared
// ports (settings store, shell, clock): its own window, and the main window
// whose switches it flips. Rectangles in twips unless named otherwise.
#pragma once

#include <string>

#include "ui/geometry.h"

namespace torvane::settings {

// The dialog's window.
class SzHost {
public:
    virtual ~SzHost() = default;
    virtual void ApplyWindowRect(const ui::Rect& twips) = 0;
    // Shown and brought in front of the other windows.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Runs the platform's interactive move loop until the mouse button is
    // released and returns where the window is then.
    virtual ui::Rect RunMoveLoop() = 0;
    virtual void SetCustomPointer(bool on) = 0;
    // The one timer of the dialog: the clock preview.
    virtual void StartTimer(int intervalMs) = 0;
    virtual void StopTimer() = 0;
};

// The main window's texts the previews show, by the main window's names.
struct MainWindowTexts {
    std::string Label12;  // city
    std::string Label8;
    std::string Label9;   // weather text
    std::string Label13;  // temperature range
    std::string Label1;   // date line
    std::string Label4;   // lunar-date line
};

// Where the main window is, at which DPI, and the work area of its monitor.
struct MainWindowPlace {
    ui::Rect window;        // twips
    int dpi = 96;
    ui::Rect workAreaPx;    // device pixels
};

// The main window as the dialog sees it.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    virtual MainWindowTexts Texts() = 0;
    virtual MainWindowPlace Place() = 0;
    // Reads the display switches again and shows the result at once.
    virtual void ReloadDisplaySwitches() = 0;
};

// What the main window's settings button asks for.
class DialogOpener {
public:
    virtual ~DialogOpener() = default;
    // Opens the dialog, or brings the open one forward.
    virtual void OpenSettings() = 0;
};

}  // namespace torvane::settings
