// halter.exe: run by the uninstallation before the programs are removed. Ends
// the launcher, the calendar and the updater, shows nothing, reads no
// arguments.
#include <windows.h>

#include "processes/program_names.h"
#include "processes/win/end_processes.h"
#include "processes/win/transparent_window.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TorvaneHalter";
constexpr wchar_t kCaption[] = L"halter";

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    HWND window = torvane::win::CreateTransparentWindow(instance, kWindowClass, kCaption);
    for (std::wstring_view name : torvane::kUninstallEndOrder) {
        torvane::win::EndProcessesByName(name);
    }
    if (window) {
        DestroyWindow(window);
    }
    return 0;
}
