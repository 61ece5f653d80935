// The main window's own ports on Win32: the tray icon and the text resources.
// The ports every program shares are in common/win/platform_ports.h.
#pragma once

#include <windows.h>

#include "calendar/ports.h"

namespace torvane::calendar::win {

class NotifyIconTray final : public Tray {
public:
    void Attach(HWND owner, HICON icon) {
        owner_ = owner;
        icon_ = icon;
    }
    void Add(const TrayIconData& data) override;
    void Modify(const TrayIconData& data) override;
    void Remove() override;
    std::optional<MenuCommand> PopupMenu(std::span<const MenuItem> items) override;

private:
    bool Notify(DWORD message, const TrayIconData& data);

    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
};

// The bytes of a CUSTOM resource of the running program, as they are built in
// (they stay mapped while the program runs).
std::optional<std::string_view> ResourceBytes(int resourceId);

// CUSTOM resources of the running program, GBK converted to UTF-8.
class ResourceTexts final : public TextResources {
public:
    std::optional<std::string> LoadText(int resourceId) override;
};

}  // namespace torvane::calendar::win
