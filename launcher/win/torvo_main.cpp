// torvo.exe: started at logon, it starts the calendar once the internet is
// reachable and then stays in memory, hidden, until the suite ends it by name.
// One copy per session; it reads no arguments.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "common/ini_settings.h"
#include "common/program_folder.h"
#include "common/program_names.h"
#include "common/settings_keys.h"
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

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Starts "<folder>\torvane.exe" qidong in a normal window, without waiting.
void StartCalendar(const std::wstring& folder, const std::wstring& calendar)
{
    std::wstring commandLine =
        L"\"" + calendar + L"\" " + torvane::Utf8ToWide(torvane::kAutostartArgument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(calendar.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &started)) {
        UniqueHandle process(started.hProcess);
        UniqueHandle thread(started.hThread);
    }
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
    const std::wstring folder = torvane::Utf8ToWide(torvane::ProgramFolder());
    const std::wstring calendar = torvane::Utf8ToWide(
        torvane::ProgramFilePath(torvane::kCalendarExe));
    if (IsFile(calendar)) {
        StartCalendar(folder, calendar);
    }
    // Nothing more to do: wait, hidden, to be ended from outside.
    return torvane::win::RunMessageLoop();
}
