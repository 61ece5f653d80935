#include "settings/win/settings_dialog.h"

namespace torvane::settings::win {

using calendar::Ctl;

MainWindowTexts FrmMainLink::Texts() {
    const auto text = [this](Ctl id) { return model_.element(id).text; };
    return MainWindowTexts{text(Ctl::Label12), text(Ctl::Label8), text(Ctl::Label9),
                           text(Ctl::Label13), text(Ctl::Label1), text(Ctl::Label4)};
}

MainWindowPlace FrmMainLink::Place() {
    const calendar::WindowRect r = model_.windowRect();
    MainWindowPlace place{ui::Rect{r.left, r.top, r.width, r.height}, model_.dpi().value(), {}};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& w = monitor.rcWork;
        place.workAreaPx = ui::Rect{w.left, w.top, w.right - w.left, w.bottom - w.top};
    } else {
        place.workAreaPx = ui::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return place;
}

void FrmMainLink::ReloadDisplaySwitches() {
    // The main window's loop brings its view in line with the model after
    // every message of the thread, this click's included.
    model_.ReloadDisplaySwitches();
}

SettingsDialog::SettingsDialog(HINSTANCE instance, Settings& settings, Shell& shell, Clock& clock,
                               MainWindowLink& main, SzConfig config)
    : instance_(instance), settings_(settings), shell_(shell), clock_(clock), main_(main),
      config_(std::move(config)) {}

void SettingsDialog::OpenSettings() {
    if (!model_) {
        auto window = std::make_unique<SettingsWindow>(instance_);
        if (!window->Create()) return;
        model_ = std::make_unique<Sz>(SzPorts{settings_, shell_, clock_, *window, main_}, config_);
        window->Attach(*model_);
        window_ = std::move(window);
    }
    model_->Open();
}

}  // namespace torvane::settings::win
