#include "settings/win/settings_dialog.h"

namespace torvane::settings::win {

SettingsDialog::SettingsDialog(HINSTANCE instance, HCURSOR movePointer, Settings& settings, Shell& shell,
                               Clock& clock, MainWindowLink& main, SzConfig config)
    : instance_(instance), movePointer_(movePointer), settings_(settings), shell_(shell), clock_(clock), main_(main),
      config_(std::move(config)) {}

void SettingsDialog::OpenSettings() {
    if (!model_) {
        auto window = std::make_unique<SettingsWindow>(instance_, movePointer_);
        if (!window->Create()) return;
        model_ = std::make_unique<Sz>(SzPorts{settings_, shell_, clock_, *window, main_}, config_);
        window->Attach(*model_);
        window_ = std::move(window);
    }
    model_->Open();
}

}  // namespace torvane::settings::win
