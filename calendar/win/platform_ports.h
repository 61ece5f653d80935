// The main window's ports on Win32: clock, shell, registry, tray, processes,
// text resources.
#pragma once

#include <windows.h>

#include "calendar/ports.h"

namespace torvane::calendar::win {

class LocalClock final : public Clock {
public:
    LocalDateTime Now() override;
};

class ShellOpener final : public Shell {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void OpenWebPage(std::string_view address) override;

private:
    HWND owner_ = nullptr;
};

// The value under the current user's Run key: writable without
// administrator rights.
class RunKeyAutostart final : public Autostart {
public:
    bool WriteRunValue(std::string_view valueName, std::string_view data) override;
    bool DeleteRunValue(std::string_view valueName) override;
};

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

class ToolhelpProcessEnder final : public ProcessEnder {
public:
    void EndProcessesByName(std::string_view exeName) override;
};

// CUSTOM resources of the running program, GBK converted to UTF-8.
class ResourceTexts final : public TextResources {
public:
    std::optional<std::string> LoadText(int resourceId) override;
};

}  // namespace torvane::calendar::win
