// The calendar's main window on Win32: a view of the FrmMain model on the
// element window. What is its own: the year and month lists, the features'
// windows, the tray's messages, the first showing. It decides nothing itself.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "calendar/main_window_model.h"
#include "common/win/unique.h"
#include "ui/win/element_window.h"

namespace torvane::calendar::win {

// Child control ids: kFirstElementId + the element's index.
using ui::win::kFirstElementId;
constexpr int ControlId(Ctl id) { return kFirstElementId + static_cast<int>(Index(id)); }
inline constexpr wchar_t kMainWindowClass[] = L"TorvaneMain";

class MainWindow final : public ui::win::ElementWindow, public WindowHost {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;

    // The window, hidden, with its icons and pointer.
    bool Create();
    // The model it shows; its child windows are made from the model's elements.
    void Attach(FrmMain& model);
    // A feature's own window in the place of element `id` (a placeholder):
    // placed and shown as the model says.
    void Host(Ctl id, HWND child);
    // Work the first showing need not wait for (the tray icon, a feature's
    // window), run once the window is on screen, before its first paint.
    void AfterShown(std::function<void()> work);
    // Start-up, the first showing, then messages until the program is ended.
    int Run();

    // WindowHost
    ScreenInfo Screen() override;
    void ApplyWindowRect(const WindowRect& rect) override;
    void SetVisible(bool visible) override;
    bool IsVisible() override;
    WindowRect RunMoveLoop() override;
    void SetCustomPointer() override;
    void StartTimer(TimerId id, int intervalMs) override;
    void StopTimer(TimerId id) override;
    void Quit() override;

private:
    // ElementWindow
    ElementSet::Changes TakeChanges() override { return model_->TakeChanges(); }
    ui::Dpi dpi() const override { return model_ ? model_->dpi() : windowDpi(); }
    void OnMouse(const Mouse& mouse) override;
    void OnDpi(int dpi, const ui::Rect& suggestedPx) override;
    void OnTimer(UINT_PTR id) override { model_->onTimer(static_cast<TimerId>(id)); }
    void OnClose() override { model_->onI1Click(); }  // Alt+F4 hides, like the close button
    bool WantsMovePointer() const override { return model_->HasCustomPointer(); }
    const ui::DrawList* Surface(uint16_t id) override;
    ui::win::PictureCache* Pictures() override { return &pictures_; }
    void AfterSync(const ElementSet::Changes& changes) override;
    LRESULT OnOther(UINT msg, WPARAM wp, LPARAM lp) override;

    void OnCommand(WPARAM wp);
    void OnShown();
    void OnSize(WPARAM wp);
    LRESULT OnControlColor(HDC dc);
    void MeasureHeader();
    void SyncList(Ctl list);

    torvane::win::UniqueBrush panelBrush_;
    UINT taskbarCreated_ = 0;
    bool applyingRect_ = false;
    ui::win::PictureCache pictures_;
    FrmMain* model_ = nullptr;
    std::array<size_t, 2> listSizes_{};
    std::vector<std::function<void()>> afterShown_;
};

}  // namespace torvane::calendar::win
