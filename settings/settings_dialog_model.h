// sz, the settings dialog, as a model: nine switches that write the flags of
// set.ini at once, previews of the main window's texts, its placement beside
// the main window, the close button, the link and the keyboard. The Win32
// view forwards messages to the on...() methods and paints elements().
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/ports.h"
#include "common/settings.h"
#include "settings/ports.h"
#include "settings/settings_dialog_layout.h"
#include "ui/press.h"

namespace torvane::settings {

struct SzPorts {
    Settings& settings;
    Shell& shell;
    Clock& clock;
    SzHost& host;
    MainWindowLink& main;
};

struct SzConfig {
    std::string homeUrl;  // product home page, the link's address
};

// Virtual-key codes the dialog answers.
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;

// The clock preview asks the time this often and changes when the second does.
inline constexpr int kClockPreviewIntervalMs = 250;

class Sz {
public:
    Sz(const SzPorts& ports, SzConfig config);

    // The settings button: loads the dialog when it is not loaded, shows it
    // and brings it forward.
    void Open();
    bool IsLoaded() const { return loaded_; }

    // --- Events the view forwards (device pixels of the client area) -----
    void onMouseDown(int x, int y);
    void onMouseUp(int x, int y);
    void onMouseMove(int x, int y);
    void onMouseLeave();
    // `repeat`: the key was already down (the keyboard's auto-repeat).
    void onKeyDown(int keyCode, bool shift, bool repeat = false);
    void onTimer();
    void onClose();  // the system's close command (Alt+F4)
    // The window moved to a screen of another DPI; `suggested` is where the
    // system proposes to put it, in pixels of the new DPI.
    void onDpiChanged(int dpi, const Rect& suggested);

    // --- What the view shows ---------------------------------------------
    const ElementSet& elements() const { return elements_; }
    const Element& element(SzCtl id) const { return elements_[Index(id)]; }
    ElementSet::Changes TakeChanges() { return elements_.TakeChanges(); }
    // The picture a switch shows, or null for any other element.
    const ui::DrawList* Picture(uint16_t id) const;
    Rect windowRect() const { return rect_; }  // twips
    ui::Dpi dpi() const { return dpi_; }
    bool IsDragging() const { return presses_.dragging(); }

    // --- State ---------------------------------------------------------------
    // A switch is on exactly when it shows the "on" picture.
    bool IsOn(SzCtl picture) const;
    // Where Space and Enter act; shown by the focus mark once a key was used.
    SzCtl Focused() const { return kFocusOrder[focus_]; }

private:
    void Load();
    void Unload();
    void LoadPreviews();
    void ShowSwitch(size_t index, bool on);
    void Flip(size_t index);
    void Click(SzCtl id);
    void ClockPreview();
    void MoveFocus(int step);
    void ShowFocus(bool shown);
    void MakePictures();
    std::optional<SzCtl> ElementAt(int x, int y) const;
    void SetText(SzCtl id, std::string text) { elements_.SetText(Index(id), std::move(text)); }

    SzPorts ports_;
    SzConfig config_;
    ElementSet elements_;
    ui::Dpi dpi_;
    Rect rect_;
    ui::DrawList b1_, b2_;  // the "off" and "on" templates
    std::array<const ui::DrawList*, kSwitches.size()> pictures_{};
    ui::PressModel presses_;
    size_t focus_ = 0;  // into kFocusOrder
    bool loaded_ = false;
};

}  // namespace torvane::settings
