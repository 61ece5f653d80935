// frmMain: mouse, keyboard, lists, the window's buttons and the tray.
#include <charconv>

#include "calendar/main_window_model.h"

namespace torvane::calendar {

// --- Mouse dispatch -------------------------------------------------------------

void FrmMain::onMouseDown(int x, int y, MouseButton button) {
    const bool left = button == MouseButton::Left;
    const ui::Press press = presses_.Down(elements_, Point{x, y}, dpi_, left);
    if (!press.over) {
        yidong();  // the window's own background
        return;
    }
    const Ctl over = static_cast<Ctl>(*press.over);
    if (over == Ctl::picMain) {
        const Rect pic = dpi_.Px(element(over).rect);
        onPicMainMouseDown(x - pic.left, y - pic.top);
        return;
    }
    // A left press on the skin closes what is open over it: the year and
    // month lists and the pickers.
    if (over == Ctl::Image1 && left) {
        Show(Ctl::List1, false);
        Show(Ctl::List2, false);
        Broadcast(WindowEvent::SkinPressed);
    }
    if (press.action == ui::PressAction::Act) {
        Click(over);
    } else if (press.action == ui::PressAction::Drag) {
        if (!yidong() && press.clickIfStill) Click(over);
    }
}

std::optional<Ctl> FrmMain::ElementAt(int x, int y) const { return ui::ElementAt<Ctl>(elements_, Point{x, y}, dpi_); }

void FrmMain::onMouseUp(int x, int y, MouseButton button) {
    if (const auto clicked = presses_.Up(elements_, Point{x, y}, dpi_, button == MouseButton::Left))
        Click(static_cast<Ctl>(*clicked));
}

void FrmMain::onMouseMove(int x, int y) { ApplyHover(elements_, ElementAt(x, y)); }

void FrmMain::onMouseLeave() { ClearHover(elements_); }

void FrmMain::Click(Ctl id) {
    switch (id) {
        case Ctl::I1: onI1Click(); break;
        case Ctl::I11: onI11Click(); break;
        case Ctl::Label5: onLabel5Click(); break;
        case Ctl::Label7: onLabel7Click(); break;
        case Ctl::Image2_0:
        case Ctl::Image2_1:
        case Ctl::Image2_2:
        case Ctl::Image2_3:
        case Ctl::Image2_4:
            onImage2Click(static_cast<int>(Index(id) - Index(Ctl::Image2_0)));
            break;
        default: Route(id); break;  // a feature's element
    }
}

bool FrmMain::yidong() {
    customPointer_ = true;
    ports_.host.SetCustomPointer();
    const WindowRect after = ports_.host.RunMoveLoop();
    const bool moved = after.left != rect_.left || after.top != rect_.top;
    rect_.left = after.left;
    rect_.top = after.top;
    return moved;
}

// --- The grid ---------------------------------------------------------------------

void FrmMain::onPicMainMouseDown(int x, int y) {
    const GridGeometry geometry = gridGeometry();
    if (y < geometry.FirstCellTop()) return;  // the weekday header band
    if (const std::optional<int> day = DayAt(geometry, sel_.year, sel_.month, x, y)) sel_.day = *day;
    if (rect_.width == kWindowWidthNarrow) {
        screen_ = ports_.host.Screen();
        SetWindowRect(WidenedRect(rect_, dpi_.Twips(screen_.widthPx)));
    }
    ReDrawCalendar();
    yidong();
    Show(Ctl::List1, false);
    Show(Ctl::List2, false);
}

void FrmMain::onKeyDown(int keyCode) {
    if (sel_.year != 0) sel_ = ApplyKey(sel_, keyCode);
    ReDrawCalendar();
}

void FrmMain::onImage2Click(int index) {
    if (sel_.year == 0 && index != 4) return;
    sel_ = ApplyArrow(sel_, index, Today());
    ReDrawCalendar();
}

// --- Year and month lists -----------------------------------------------------------

void FrmMain::ToggleList(Ctl show, Ctl other) {
    if (element(show).visible) {
        Show(show, false);
    } else {
        Show(show, true);
        Show(other, false);
    }
}

void FrmMain::onLabel5Click() { ToggleList(Ctl::List1, Ctl::List2); }

void FrmMain::onLabel7Click() { ToggleList(Ctl::List2, Ctl::List1); }

void FrmMain::onListClick(Ctl list, int itemIndex) {
    if (list != Ctl::List1 && list != Ctl::List2) return;
    const std::vector<std::string>& items = listItems(list);
    if (itemIndex < 0 || static_cast<size_t>(itemIndex) >= items.size()) return;
    const std::string& text = items[static_cast<size_t>(itemIndex)];
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size()) return;

    SetText(list == Ctl::List1 ? Ctl::Label5 : Ctl::Label7, text);
    (list == Ctl::List1 ? sel_.year : sel_.month) = number;
    // The selected day stays, cut to the new month (31 January -> April: 30).
    sel_ = KeepDayInMonth(sel_);
    ReDrawCalendar();
    Show(list, false);
}

// --- Window buttons ---------------------------------------------------------------------

void FrmMain::onI1Click() {
    SetVisible(false);
    SetWindowRect(NarrowedRect(rect_));
}

void FrmMain::onI11Click() { SetWindowRect(NarrowedRect(rect_)); }

void FrmMain::onC1Click() { Route(Ctl::c1); }

// --- Tray ---------------------------------------------------------------------------------

void FrmMain::onTrayNotify(uint32_t event) {
    // Without the icon the window does not listen to the tray.
    if (!tray_.IsPresent()) return;
    switch (TrayReactionTo(event)) {
        case TrayReaction::ToggleWindow:
            ToggleVisible();
            break;
        case TrayReaction::PopupMenu:
            if (const std::optional<MenuCommand> command = ports_.tray.PopupMenu(kTrayMenu))
                onMenuCommand(*command);
            break;
        case TrayReaction::None:
            break;
    }
}

void FrmMain::onTaskbarCreated() { tray_.OnTaskbarCreated(); }

void FrmMain::onMenuCommand(MenuCommand command) {
    switch (command) {
        case MenuCommand::ToggleMainWindow: ToggleVisible(); break;
        case MenuCommand::Feedback:
        case MenuCommand::WhatsNew: ports_.shell.OpenWebPage(config_.homeUrl); break;
        case MenuCommand::CheckForUpdates: Broadcast(WindowEvent::CheckForUpdates); break;
        case MenuCommand::Exit: Exit(); break;
        case MenuCommand::Separator: break;
    }
}

}  // namespace torvane::calendar
