#include "calendar/win/platform_ports.h"

#include <shellapi.h>

#include "calendar/startup.h"
#include "common/text_codec.h"
#include "common/win/shell.h"
#include "common/win/wide_text.h"
#include "processes/win/end_processes.h"

namespace torvane::calendar::win {

namespace {

constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr UINT kFirstMenuId = 1;

template <size_t N>
void CopyField(wchar_t (&field)[N], std::string_view utf8) {
    // The model already cut the text to the field; this only guards the copy.
    std::wstring text = Utf8ToWide(utf8);
    size_t n = std::min(text.size(), N - 1);
    text.copy(field, n);
    field[n] = L'\0';
}

}  // namespace

LocalDateTime LocalClock::Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void ShellOpener::OpenWebPage(std::string_view address) {
    torvane::win::OpenWebPage(owner_, Utf8ToWide(address));
}

bool RunKeyAutostart::WriteRunValue(std::string_view valueName, std::string_view data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    std::wstring name = Utf8ToWide(valueName);
    std::wstring value = Utf8ToWide(data);
    LONG rc = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RunKeyAutostart::DeleteRunValue(std::string_view valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return true;  // no key, so no value either
    LONG rc = RegDeleteValueW(key, Utf8ToWide(valueName).c_str());
    RegCloseKey(key);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool NotifyIconTray::Notify(DWORD message, const TrayIconData& data) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner_;
    nid.uID = 0;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = kTrayCallbackMessage;
    nid.hIcon = icon_;
    CopyField(nid.szTip, data.tip);
    if (!data.info.empty()) {
        nid.uFlags |= NIF_INFO;
        CopyField(nid.szInfo, data.info);
        CopyField(nid.szInfoTitle, data.infoTitle);
        nid.uTimeout = data.timeoutMs;
        nid.dwInfoFlags = data.infoFlags;
    }
    return Shell_NotifyIconW(message, &nid) != FALSE;
}

void NotifyIconTray::Add(const TrayIconData& data) { Notify(NIM_ADD, data); }

void NotifyIconTray::Modify(const TrayIconData& data) {
    // An icon lost with a restarted Explorer comes back instead of failing.
    if (!Notify(NIM_MODIFY, data)) Notify(NIM_ADD, data);
}

void NotifyIconTray::Remove() {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner_;
    nid.uID = 0;
    Shell_NotifyIconW(NIM_DELETE, &nid);
}

std::optional<MenuCommand> NotifyIconTray::PopupMenu(std::span<const MenuItem> items) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return std::nullopt;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].command == MenuCommand::Separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING, kFirstMenuId + i, Utf8ToWide(items[i].caption).c_str());
        }
    }
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground switch and the WM_NULL after it, the menu would
    // not close when the user clicks elsewhere.
    SetForegroundWindow(owner_);
    UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y,
                                 0, owner_, nullptr);
    PostMessageW(owner_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen < kFirstMenuId || chosen - kFirstMenuId >= items.size()) return std::nullopt;
    return items[chosen - kFirstMenuId].command;
}

void ToolhelpProcessEnder::EndProcessesByName(std::string_view exeName) {
    torvane::win::EndProcessesByName(Utf8ToWide(exeName));
}

std::optional<std::string> ResourceTexts::LoadText(int resourceId) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), L"CUSTOM");
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return std::nullopt;
    return GbkToUtf8({static_cast<const char*>(bytes), SizeofResource(nullptr, found)});
}

}  // namespace torvane::calendar::win
