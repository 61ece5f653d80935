// torvane.exe: with an empty command line it opens the product home page and
// ends; with any argument (the launcher passes "qidong") it shows the calendar.
#include <windows.h>

#include "build_config.h"
#include "common/ini_settings.h"
#include "common/program_folder.h"
#include "common/settings_keys.h"
#include "common/win/shell.h"
#include "common/win/wide_text.h"

namespace {

constexpr wchar_t kMainClass[] = L"TorvaneMain";
constexpr int kTwipsPerInch = 1440;
// Designed client size and the gaps to the screen's right and bottom edges.
constexpr int kWindowWidthTwips = 5280;
constexpr int kWindowHeightTwips = 7785;
constexpr int kRightGapTwips = 200;
constexpr int kBottomGapTwips = 640;

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND CreateMainWindow(HINSTANCE instance) {
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kMainClass;
    RegisterClassExW(&wc);

    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    int screenW = GetSystemMetrics(SM_CXSCREEN) * kTwipsPerInch / dpi;
    int screenH = GetSystemMetrics(SM_CYSCREEN) * kTwipsPerInch / dpi;
    int top = screenH - kWindowHeightTwips - kBottomGapTwips;
    int left = screenW - kWindowWidthTwips - kRightGapTwips;
    return CreateWindowExW(WS_EX_TOOLWINDOW, kMainClass, L"Torvane", WS_POPUP, TwipsToPixels(left, dpi),
                           TwipsToPixels(top, dpi), TwipsToPixels(kWindowWidthTwips, dpi),
                           TwipsToPixels(kWindowHeightTwips, dpi), nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    if (commandLine == nullptr || *commandLine == L'\0') {
        torvane::IniSettings settings(torvane::SettingsPath());
        auto servers = torvane::LoadServerAddresses(settings);
        torvane::win::OpenWebPage(nullptr, torvane::Utf8ToWide(servers.home));
        return 0;
    }
    HWND main = CreateMainWindow(instance);
    if (!main) return 1;
    ShowWindow(main, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
