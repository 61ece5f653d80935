// The calendar's main window on Win32: owns the HWND, the back buffer, the
// timers and the child controls, turns messages into model calls and paints
// what the model says. It decides nothing itself.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "calendar/frm_main.h"
#include "calendar/win/painter.h"
#include "calendar/win/platform_ports.h"
#include "common/settings.h"

namespace torvane::calendar::win {

// Child window ids: kFirstElementId + the element's index.
inline constexpr int kFirstElementId = 1000;
inline constexpr wchar_t kMainWindowClass[] = L"TorvaneMain";

class MainWindow final : public WindowHost {
public:
    MainWindow(HINSTANCE instance, Settings& settings, std::string homeUrl);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window, runs start-up, shows it and pumps messages until
    // the program is ended.
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
    static LRESULT CALLBACK Trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

    bool Create();
    void CreateChildren();
    void OnPaint();
    void OnMouse(UINT msg, LPARAM lp);
    void OnCommand(WPARAM wp);
    LRESULT OnControlColor(HDC dc);
    bool OnSetCursor(LPARAM lp);
    // Brings the window and its controls in line with the model.
    void Sync();
    void SyncChild(const Element& e);
    void SyncList(Ctl list);
    int TwipsToPixels(int twips) const { return MulDiv(twips, dpi_, kTwipsPerInch); }
    int PixelsToTwips(int pixels) const { return MulDiv(pixels, kTwipsPerInch, dpi_); }

    static constexpr int kTwipsPerInch = 1440;

    HINSTANCE instance_;
    Settings& settings_;
    std::string homeUrl_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HCURSOR movePointer_ = nullptr;
    HBRUSH panelBrush_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool applyingRect_ = false;
    bool trackingLeave_ = false;
    uint64_t syncedRevision_ = ~uint64_t{0};

    LocalClock clock_;
    ShellOpener shell_;
    RunKeyAutostart autostart_;
    NotifyIconTray tray_;
    ToolhelpProcessEnder processes_;
    ResourceTexts texts_;
    FrmMainHooks hooks_;
    std::unique_ptr<FontCache> fonts_;
    std::unique_ptr<FrmMain> model_;
    std::array<HWND, kElementCount> children_{};
    std::array<size_t, 2> listSizes_{};
};

}  // namespace torvane::calendar::win
