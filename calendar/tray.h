// The notification-area icon: its add / modify / remove state machine, the
// record's texts cut to their fields, and the pop-up menu's items.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/ports.h"

namespace torvane::calendar {

// Cuts UTF-8 text so that its GBK form and a terminating NUL fit into a field
// of `fieldBytes` bytes, at a character boundary. Every non-ASCII character
// counts as two bytes, which is its GBK length or more.
std::string CutToAnsiField(std::string_view utf8, size_t fieldBytes);

class TrayIcon {
public:
    explicit TrayIcon(Tray& tray) : tray_(tray) {}

    // Adds the icon with this tip, or only changes it when it is already there.
    void AddTrayIcon(std::string_view tip);
    // The same, with a balloon.
    void ShowTrayBalloon(std::string_view title, std::string_view text, uint32_t iconKind,
                         uint32_t timeoutMs);
    // Removes the icon; does nothing when it is absent.
    void RemoveTrayIcon();
    // Explorer restarted and forgot every icon: put ours back if we had one.
    void OnTaskbarCreated();

    bool IsPresent() const { return present_; }
    const TrayIconData& Current() const { return current_; }

private:
    void AddOrModify(TrayIconData data);

    Tray& tray_;
    bool present_ = false;
    TrayIconData current_;
};

enum class TrayReaction : uint8_t { None, ToggleWindow, PopupMenu };

// What a notification from the icon asks for (left button up toggles, right
// button up and a balloon click pop the menu up).
TrayReaction TrayReactionTo(uint32_t event);

// The pop-up menu in its order.
inline constexpr std::array<MenuItem, 8> kTrayMenu = {{
    {MenuCommand::ToggleMainWindow, "tttr", "打开主窗口"},
    {MenuCommand::Separator, "hhhh", "-"},
    {MenuCommand::Feedback, "yj", "意见反馈"},
    {MenuCommand::WhatsNew, "xxx", "新功能介绍"},
    {MenuCommand::Separator, "tt", "-"},
    {MenuCommand::CheckForUpdates, "jj", "检查更新"},
    {MenuCommand::Separator, "tttt", "-"},
    {MenuCommand::Exit, "ggg", "退出软件"},
}};

}  // namespace torvane::calendar
