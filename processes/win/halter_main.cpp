// halter.exe: run by the uninstallation before the programs are removed. Ends
// the launcher, the calendar and the updater, shows nothing, reads no
// arguments.
#include <windows.h>

#include <string_view>

#include "common/program_names.h"
#include "common/win/wide_text.h"
#include "processes/win/end_processes.h"
#include "processes/win/transparent_window.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TorvaneHalter";
constexpr wchar_t kCaption[] = L"halter";

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    HWND window = torvane::win::CreateTransparentWindow(instance, kWindowClass, kCaption);
    for (std::string_view name : torvane::kUninstallEndOrder) {
        torvane::win::EndProcessesByName(torvane::Utf8ToWide(name));
    }
    if (window) {
        DestroyWindow(window);
    }
    return 0;
}
