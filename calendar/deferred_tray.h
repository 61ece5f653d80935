// A tray that holds its icon's changes until the window has been shown: the
// shell's libraries are the largest part of a start, and the first window
// needs none of them. Held changes reach the real tray in their order.
#pragma once

#include <vector>

#include "calendar/ports.h"

namespace torvane::calendar {

class DeferredTray final : public Tray {
public:
    explicit DeferredTray(Tray& tray) : tray_(tray) {}

    // From now on every change goes straight through; the held ones first.
    void Release();
    bool released() const { return released_; }

    void Add(const TrayIconData& data) override;
    void Modify(const TrayIconData& data) override;
    void Remove() override;
    std::optional<MenuCommand> PopupMenu(std::span<const MenuItem> items) override;

private:
    enum class Op : uint8_t { Add, Modify, Remove };
    struct Held {
        Op op;
        TrayIconData data;
    };
    void Pass(const Held& change);

    Tray& tray_;
    bool released_ = false;
    std::vector<Held> held_;
};

}  // namespace torvane::calendar
