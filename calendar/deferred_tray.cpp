#include "calendar/deferred_tray.h"

namespace torvane::calendar {

void DeferredTray::Release() {
    if (released_) return;
    released_ = true;
    std::vector<Held> held = std::move(held_);
    held_.clear();
    for (const Held& change : held) Pass(change);
}

void DeferredTray::Pass(const Held& change) {
    switch (change.op) {
        case Op::Add: tray_.Add(change.data); break;
        case Op::Modify: tray_.Modify(change.data); break;
        case Op::Remove: tray_.Remove(); break;
    }
}

void DeferredTray::Add(const TrayIconData& data) {
    if (released_) return tray_.Add(data);
    held_.push_back({Op::Add, data});
}

void DeferredTray::Modify(const TrayIconData& data) {
    if (released_) return tray_.Modify(data);
    held_.push_back({Op::Modify, data});
}

void DeferredTray::Remove() {
    if (released_) return tray_.Remove();
    held_.push_back({Op::Remove, {}});
}

std::optional<MenuCommand> DeferredTray::PopupMenu(std::span<const MenuItem> items) {
    // A menu is the user's answer to the icon: it cannot come before it.
    return tray_.PopupMenu(items);
}

}  // namespace torvane::calendar
