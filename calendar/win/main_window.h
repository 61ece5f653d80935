// The calendar's main window on Win32: a view of the FrmMain model. It owns
// the HWND, the element mirror, the fonts and the back buffer, turns messages
// into model calls and paints and syncs only what the model says changed.
// It decides nothing itself.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "calendar/main_window_model.h"
#include "common/win/unique.h"
#include "ui/win/element_mirror.h"
#include "ui/win/font_cache.h"
#include "ui/win/painter.h"
#include "ui/win/window.h"

namespace torvane::calendar::win {

// Child control ids: kFirstElementId + the element's index.
inline constexpr int kFirstElementId = 1000;
constexpr int ControlId(Ctl id) { return kFirstElementId + static_cast<int>(Index(id)); }
inline constexpr wchar_t kMainWindowClass[] = L"TorvaneMain";

class MainWindow final : public ui::win::Window, public WindowHost {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;

    // The window, hidden, with its icons and pointer.
    bool Create();
    HICON SmallIcon() const { return smallIcon_.get(); }
    HCURSOR MovePointer() const { return movePointer_; }
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
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void OnMouse(UINT msg, LPARAM lp);
    void OnCommand(WPARAM wp);
    void OnShown();
    void OnSize(WPARAM wp);
    void OnDpiChanged(WPARAM wp, LPARAM lp);
    LRESULT OnControlColor(HDC dc);
    bool OnSetCursor(LPARAM lp);
    void MeasureHeader();
    // Brings the children and the screen in line with what changed.
    void Sync();
    void SyncList(Ctl list);
    ui::Dpi dpi() const { return model_ ? model_->dpi() : dpi_; }

    HINSTANCE instance_;
    ui::Dpi dpi_;
    torvane::win::UniqueIcon icon_;
    torvane::win::UniqueIcon smallIcon_;
    HCURSOR movePointer_ = nullptr;  // a shared resource: never destroyed
    torvane::win::UniqueBrush panelBrush_;
    UINT taskbarCreated_ = 0;
    bool applyingRect_ = false;
    bool loaded_ = false;  // FormLoad has run
    ui::win::FontCache fonts_{ui::Dpi()};
    ui::win::BackBuffer buffer_;
    ui::win::PictureCache pictures_;
    std::unique_ptr<ui::win::ElementMirror> mirror_;
    FrmMain* model_ = nullptr;
    std::array<size_t, 2> listSizes_{};
    std::vector<std::function<void()>> afterShown_;
};

}  // namespace torvane::calendar::win
