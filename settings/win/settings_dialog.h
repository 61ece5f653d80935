// The settings dialog as the calendar's composition root sees it: made on
// the first press of the settings button, shown again on later ones; and the
// main window as the dialog sees it.
#pragma once

#include <windows.h>

#include <memory>

#include "calendar/frm_main.h"
#include "settings/sz.h"
#include "settings/win/settings_window.h"

namespace torvane::settings::win {

// The main window's model and its window.
class FrmMainLink final : public MainWindowLink {
public:
    FrmMainLink(calendar::FrmMain& model, HWND window) : model_(model), window_(window) {}

    MainWindowTexts Texts() override;
    MainWindowPlace Place() override;
    void ReloadDisplaySwitches() override;

private:
    calendar::FrmMain& model_;
    HWND window_;
};

class SettingsDialog final : public DialogOpener {
public:
    SettingsDialog(HINSTANCE instance, Settings& settings, Shell& shell, Clock& clock, MainWindowLink& main,
                   SzConfig config);

    void OpenSettings() override;

private:
    HINSTANCE instance_;
    Settings& settings_;
    Shell& shell_;
    Clock& clock_;
    MainWindowLink& main_;
    SzConfig config_;
    std::unique_ptr<SettingsWindow> window_;
    std::unique_ptr<Sz> model_;
};

}  // namespace torvane::settings::win
