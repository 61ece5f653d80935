// torvo.exe: started at logon, it starts the calendar once the internet is
// reachable and then stays in memory, hidden, until the suite ends it by name.
// One copy per session; it reads no arguments.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "common/file_io.h"
#include "common/ini_settings.h"
#include "common/program_folder.h"
#include "common/program_names.h"
#include "common/settings_keys.h"
#include "common/win/platform_ports.h"
#include "common/win/single_instance.h"
#include "common/win/wide_text.h"
#include "processes/win/transparent_window.h"
#include "common/win/unique.h"

namespace {

using torvane::win::UniqueHandle;

constexpr wchar_t kInstanceMutex[] = L"Local\\Torvane.Launcher";
constexpr wchar_t kWindowClass[] = L"TorvaneLauncher";
constexpr wchar_t kCaption[] = L"Form1";

std::wstring ProbeAddress()
{
    torvane::IniSettings settings(torvane::SettingsPath());
    return torvane::Utf8ToWide(torvane::LoadServerAddresses(settings).probe);
}

// Blocks until a connection to the address's host is made or refused.
bool CanReachInternet(const std::wstring& address)
{
    return !address.empty() &&
           InternetCheckConnectionW(address.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    UniqueHandle lock;
    if (!torvane::win::TakeInstanceLock(kInstanceMutex, lock)) {
        return 0;
    }
    // The window is never shown; the launcher works without it if it cannot
    // be made.
    torvane::win::CreateTransparentWindow(instance, kWindowClass, kCaption);
    if (!CanReachInternet(ProbeAddress())) {
        return 0;
    }
    const std::string calendar = torvane::ProgramFilePath(torvane::kCalendarExe);
    if (torvane::FileExists(calendar)) {
        torvane::win::ProcessStarter().StartProgram(calendar, torvane::kAutostartArgument);
    }
    // Nothing more to do: wait, hidden, to be ended from outside.
    return torvane::win::RunMessageLoop();
}
