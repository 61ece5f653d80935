// The settings dialog on Win32: a view of the Sz model on the element
// window. What is its own: the keys, the clock preview's timer, showing in
// front. It decides nothing itself.
#pragma once

#include <windows.h>

#include "settings/settings_dialog_model.h"
#include "ui/win/element_window.h"

namespace torvane::settings::win {

inline constexpr wchar_t kSettingsWindowClass[] = L"TorvaneSettings";

class SettingsWindow final : public ui::win::ElementWindow, public SzHost {
public:
    SettingsWindow(HINSTANCE instance, HCURSOR movePointer);
    ~SettingsWindow() override;

    // The window, hidden.
    bool Create();
    // The model it shows; its child windows are made from the model's elements.
    void Attach(Sz& model);

    // SzHost
    void ApplyWindowRect(const ui::Rect& twips) override { ApplyPlace(twips); }
    void Show() override { ShowInFront(true); }
    void Hide() override { ElementWindow::Hide(); }
    ui::Rect RunMoveLoop() override;
    void SetCustomPointer(bool on) override { ShowMovePointer(on); }
    void StartTimer(int intervalMs) override;
    void StopTimer() override;

private:
    // ElementWindow
    ui::ElementSet::Changes TakeChanges() override { return model_->TakeChanges(); }
    ui::Dpi dpi() const override { return model_ ? model_->dpi() : ui::Dpi(); }
    void OnMouse(const Mouse& mouse) override;
    void OnDpi(int dpi, const ui::Rect& suggestedPx) override { model_->onDpiChanged(dpi, suggestedPx); }
    void OnTimer(UINT_PTR) override { model_->onTimer(); }
    void OnClose() override { model_->onClose(); }
    bool WantsMovePointer() const override { return model_->IsDragging(); }
    const ui::DrawList* Surface(uint16_t id) override { return model_->Picture(id); }
    LRESULT OnOther(UINT msg, WPARAM wp, LPARAM lp) override;

    Sz* model_ = nullptr;
};

}  // namespace torvane::settings::win
