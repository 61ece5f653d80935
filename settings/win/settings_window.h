// The settings dialog on Win32: a view of the Sz model. It owns the HWND, the
// element mirror, the fonts and the back buffer, turns messages into model
// calls and paints and syncs only what the model says changed.
#pragma once

#include <windows.h>

#include <memory>

#include "settings/settings_dialog_model.h"
#include "ui/win/element_mirror.h"
#include "ui/win/font_cache.h"
#include "ui/win/painter.h"
#include "ui/win/window.h"

namespace torvane::settings::win {

inline constexpr wchar_t kSettingsWindowClass[] = L"TorvaneSettings";
// Child control ids: kFirstElementId + the element's index.
inline constexpr int kFirstElementId = 1000;

class SettingsWindow final : public ui::win::Window, public SzHost {
public:
    SettingsWindow(HINSTANCE instance, HCURSOR movePointer);
    ~SettingsWindow() override;

    // The window, hidden.
    bool Create();
    // The model it shows; its child windows are made from the model's elements.
    void Attach(Sz& model);

    // SzHost
    void ApplyWindowRect(const ui::Rect& twips) override;
    void Show() override;
    void Hide() override;
    ui::Rect RunMoveLoop() override;
    void SetCustomPointer(bool on) override;
    void StartTimer(int intervalMs) override;
    void StopTimer() override;

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void OnMouse(UINT msg, LPARAM lp);
    void OnDpiChanged(WPARAM wp, LPARAM lp);
    bool OnSetCursor(LPARAM lp);
    void Sync();
    ui::Dpi dpi() const { return model_ ? model_->dpi() : ui::Dpi(); }

    HINSTANCE instance_;
    HCURSOR movePointer_ = nullptr;  // a shared resource: never destroyed
    ui::win::FontCache fonts_{ui::Dpi()};
    ui::win::BackBuffer buffer_;
    std::unique_ptr<ui::win::ElementMirror> mirror_;
    Sz* model_ = nullptr;
};

}  // namespace torvane::settings::win
