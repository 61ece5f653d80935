// The updater's window on Win32: a view of the FrmUpdate model. It owns the
// HWND, the element mirror, the fonts, the back buffer and the progress bar's
// skins, turns messages into model calls and paints what the model says
// changed. It decides nothing itself.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "common/win/unique.h"
#include "ui/win/element_mirror.h"
#include "ui/win/font_cache.h"
#include "ui/win/painter.h"
#include "ui/win/window.h"
#include "update/updater_model.h"
#include "update/win/progress_bar_view.h"

namespace torvane::update::win {

inline constexpr wchar_t kUpdaterWindowClass[] = L"TorvaneUpdate";
// Child control ids: kFirstElementId + the element's index.
inline constexpr int kFirstElementId = 1000;

class UpdaterWindow final : public ui::win::Window, public UpdaterHost {
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
    void Show() override;
    void Close() override;
    void RunMoveLoop() override;
    void StartTimer(UpdaterTimer id, int intervalMs) override;
    void StopTimer(UpdaterTimer id) override;

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void OnMouse(UINT msg, LPARAM lp);
    void OnSize(WPARAM wp);
    void OnDpiChanged(WPARAM wp, LPARAM lp);
    void Paint();
    void Sync();

    HINSTANCE instance_;
    ui::Dpi dpi_;
    torvane::win::UniqueIcon icon_;
    torvane::win::UniqueIcon smallIcon_;
    ui::win::FontCache fonts_{ui::Dpi()};
    ui::win::BackBuffer buffer_;
    ProgressSkins skins_;
    std::unique_ptr<ui::win::ElementMirror> mirror_;
    FrmUpdate* model_ = nullptr;
};

}  // namespace torvane::update::win
