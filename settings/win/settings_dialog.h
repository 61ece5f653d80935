// The settings dialog as the calendar's composition root sees it: made on
// the first press of the settings button, shown again on later ones. The
// main window reaches it only through the MainWindowLink port.
#pragma once

#include <windows.h>

#include <memory>

#include "settings/settings_dialog_model.h"
#include "settings/win/settings_window.h"

namespace torvane::settings::win {

class SettingsDialog final : public DialogOpener {
public:
    // `movePointer`: the program's pointer for dragging a window (shared, never destroyed).
    SettingsDialog(HINSTANCE instance, HCURSOR movePointer, Settings& settings, Shell& shell, Clock& clock,
                   MainWindowLink& main, SzConfig config);

    void OpenSettings() override;

private:
    HINSTANCE instance_;
    HCURSOR movePointer_;
    Settings& settings_;
    Shell& shell_;
    Clock& clock_;
    MainWindowLink& main_;
    SzConfig config_;
    std::unique_ptr<SettingsWindow> window_;
    std::unique_ptr<Sz> model_;
};

}  // namespace torvane::settings::win
