// The main window's settings button c1 as a feature of the main window: a
// click opens the settings dialog, or brings the open one forward.
#pragma once

#include <array>

#include "calendar/component.h"
#include "settings/ports.h"

namespace torvane::settings {

class SettingsButton final : public calendar::Component {
public:
    explicit SettingsButton(DialogOpener& dialog) : dialog_(dialog) {}

    std::span<const calendar::Ctl> ClickTargets() const override { return kTargets; }
    calendar::ViewChanges OnClick(calendar::Ctl id) override {
        if (id == calendar::Ctl::c1) dialog_.OpenSettings();
        return {};
    }

private:
    static constexpr std::array<calendar::Ctl, 1> kTargets = {calendar::Ctl::c1};
    DialogOpener& dialog_;
};

}  // namespace torvane::settings
