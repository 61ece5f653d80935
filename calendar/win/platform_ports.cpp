#include "calendar/win/platform_ports.h"

#include <shellapi.h>

#include "common/text_codec.h"
#include "common/win/unique.h"
#include "common/win/wide_text.h"

namespace torvane::calendar::win {

namespace {

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

bool NotifyIconTray::Notify(DWORD message, const TrayIconData& data) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner_;
    nid.uID = 0;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = kTrayCallbackMessage;
    nid.hIcon = icon_;
    CopyField(nid.szTip, data.tip);
    // A change without a balloon text takes a shown balloon down.
    if (!data.info.empty() || message == NIM_MODIFY) {
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
    const torvane::win::UniqueMenu owned(CreatePopupMenu());
    HMENU menu = owned.get();
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
    if (chosen < kFirstMenuId || chosen - kFirstMenuId >= items.size()) return std::nullopt;
    return items[chosen - kFirstMenuId].command;
}

std::optional<std::string_view> ResourceBytes(int resourceId) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), L"CUSTOM");
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return std::nullopt;
    return std::string_view(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

std::optional<std::string> ResourceTexts::LoadText(int resourceId) {
    const std::optional<std::string_view> bytes = ResourceBytes(resourceId);
    if (!bytes) return std::nullopt;
    return GbkToUtf8(*bytes);
}

}  // namespace torvane::calendar::win
