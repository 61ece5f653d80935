// The updater's window on Win32: a view of the FrmUpdate model on the
// element window. What is its own: its place in the middle of the screen,
// the progress bar's skins, closing. It decides nothing itself.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/win/element_window.h"
#include "update/updater_model.h"
#include "update/win/progress_bar_view.h"

namespace torvane::update::win {

inline constexpr wchar_t kUpdaterWindowClass[] = L"TorvaneUpdate";

class UpdaterWindow final : public ui::win::ElementWindow, public UpdaterHost {
public:
    explicit UpdaterWindow(HINSTANCE instance);
    ~UpdaterWindow() override;

    // The window, hidden, centred on the screen, at its DPI.
    bool Create();
    // The model it shows; its child windows are made from the model's elements.
    void Attach(FrmUpdate& model);
    // Form_Load with the argument text, then messages until the window closes.
    int Run(std::string_view arguments);

    // UpdaterHost
    void Show() override { ShowInFront(false); }
    void Close() override;
    void RunMoveLoop() override { MoveLoop(); }
    void StartTimer(UpdaterTimer id, int intervalMs) override;
    void StopTimer(UpdaterTimer id) override;

private:
    // ElementWindow
    ElementSet::Changes TakeChanges() override { return model_->TakeChanges(); }
    void OnMouse(const Mouse& mouse) override;
    void OnDpi(int dpi, const ui::Rect& suggestedPx) override;
    void OnTimer(UINT_PTR id) override { model_->onTimer(static_cast<UpdaterTimer>(id)); }
    void OnClose() override { model_->Unload(); }
    const ui::DrawList* Surface(uint16_t id) override;
    ui::win::BitmapSource Bitmaps() override { return skins_.Source(); }
    LRESULT OnOther(UINT msg, WPARAM wp, LPARAM lp) override;

    ProgressSkins skins_;
    FrmUpdate* model_ = nullptr;
};

}  // namespace torvane::update::win
