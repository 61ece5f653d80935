#include "common/win/platform_ports.h"

#include "common/program_names.h"
#include "common/win/shell.h"
#include "common/win/unique.h"
#include "common/win/wide_text.h"

namespace torvane::win {

LocalDateTime LocalClock::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void ShellOpener::OpenWebPage(std::string_view address) { win::OpenWebPage(owner_, Utf8ToWide(address)); }

bool ProcessStarter::StartProgram(std::string_view exePath, std::string_view arguments) {
    const std::wstring path = Utf8ToWide(exePath);
    std::wstring commandLine = L"\"" + path + L"\" " + Utf8ToWide(arguments);
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

bool RunKeyAutostart::WriteRunValue(std::string_view valueName, std::string_view data) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Utf8ToWide(kRunKeyPath).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const UniqueKey key(raw);
    const std::wstring name = Utf8ToWide(valueName);
    const std::wstring value = Utf8ToWide(data);
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RunKeyAutostart::DeleteRunValue(std::string_view valueName) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Utf8ToWide(kRunKeyPath).c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS)
        return true;  // no key, so no value either
    const UniqueKey key(raw);
    const LONG rc = RegDeleteValueW(key.get(), Utf8ToWide(valueName).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace torvane::win
