// torvane.exe: with an empty command line it opens the product home page and
// ends; with any argument (the launcher passes "qidong") it shows the calendar.
#include <windows.h>

#include "common/win/gdiplus.h"

#include "calendar/startup.h"
#include "calendar/win/main_window.h"
#include "calendar/win/platform_ports.h"
#include "common/ini_settings.h"
#include "common/program_folder.h"
#include "common/settings_keys.h"
#include "common/win/wide_text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    torvane::IniSettings settings(torvane::SettingsPath());
    const torvane::ServerAddresses servers = torvane::LoadServerAddresses(settings);
    torvane::calendar::win::ShellOpener shell;
    if (!torvane::calendar::RunMain(torvane::WideToUtf8(commandLine ? commandLine : L""), shell,
                                    servers.home))
        return 0;

    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    const bool gdiplus = Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr) == Gdiplus::Ok;
    int rc = 0;
    {
        torvane::calendar::win::MainWindow window(instance, settings, servers.home);
        rc = window.Run();
    }
    if (gdiplus) Gdiplus::GdiplusShutdown(gdiplusToken);
    return rc;
}
