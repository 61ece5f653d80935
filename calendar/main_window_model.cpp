// frmMain: start-up, timers, window geometry and the redraw of grid and panel.
// The mouse, keyboard and tray handlers are in main_window_model_input.cpp.
#include "calendar/main_window_model.h"

#include <algorithm>

#include "calendar/startup.h"
#include "common/program_names.h"
#include "common/settings_keys.h"

namespace torvane::calendar {

FrmMain::FrmMain(const FrmMainPorts& ports, FrmMainConfig config)
    : ports_(ports), config_(std::move(config)), tray_(ports.tray), elements_(DesignedElements()) {}

void FrmMain::AddComponent(Component& component) { components_.push_back(&component); }

// --- Start-up ---------------------------------------------------------------

void FrmMain::FormLoad() {
    // The clock timer runs from the window's creation on.
    ports_.host.StartTimer(TimerId::Timer2, kTimer2IntervalMs);
    tray_.AddTrayIcon(kTrayTip);
    ApplyDisplaySwitches();
    ApplyAutostart();

    screen_ = ports_.host.Screen();
    dpi_ = ui::Dpi(screen_.dpi);
    rect_ = StartPlacement(dpi_.Twips(screen_.widthPx), dpi_.Twips(screen_.heightPx));
    ports_.host.ApplyWindowRect(rect_);

    LoadTextTables();
    minWidth_ = rect_.width;
    minHeight_ = rect_.height;

    const CivilDate today = Today();
    sel_ = SelDate{today.year, today.month, today.day};
    cal_.sInitDate(sel_.year, sel_.month, sel_.day);

    Broadcast(WindowEvent::Starting);

    WriteDateHeader(today);
    ClockTick();

    SetText(Ctl::Label5, std::to_string(sel_.year));
    SetText(Ctl::Label7, std::to_string(sel_.month));

    ports_.host.StartTimer(TimerId::T1, kT1IntervalMs);
    t1Running_ = true;
    Broadcast(WindowEvent::Loaded);
    ports_.host.StartTimer(TimerId::TmrLoad, kTmrLoadIntervalMs);
}

void FrmMain::ApplyDisplaySwitches() {
    for (const DisplaySwitch& s : kDisplaySwitches) {
        const bool on = IsFlagOn(ports_.settings.ReadSetting(kSysSection, s.key, ""));
        for (size_t i = 0; i < s.count; ++i) Show(s.shows[i], on);
    }
}

void FrmMain::ReloadDisplaySwitches() { ApplyDisplaySwitches(); }

void FrmMain::ApplyAutostart() {
    const bool on = IsFlagOn(ports_.settings.ReadSetting(kSysSection, kAutostartKey, ""));
    const std::optional<AutostartValue> value = MakeAutostartValue(config_.exePath);
    if (!value) return;
    // A refused write or delete is not reported; start-up goes on.
    if (on) {
        ports_.autostart.WriteRunValue(value->name, value->data);
    } else {
        ports_.autostart.DeleteRunValue(value->name);
    }
}

void FrmMain::LoadTextTables() {
    for (TextTableId id : kTextTableIds) {
        const std::optional<std::string> text = ports_.resources.LoadText(static_cast<int>(id));
        if (text) tables_.Set(id, *text);
    }
}

void FrmMain::ShowWindow() {
    SetVisible(true);
    FormResize();
}

CivilDate FrmMain::Today() {
    const LocalDateTime now = ports_.clock.Now();
    return CivilDate{now.year, now.month, now.day};
}

// --- Components -----------------------------------------------------------------

void FrmMain::Broadcast(WindowEvent event) {
    for (Component* c : components_) Apply(c->OnEvent(event));
}

void FrmMain::Route(Ctl id) {
    for (Component* c : components_) {
        const std::span<const Ctl> targets = c->ClickTargets();
        if (std::find(targets.begin(), targets.end(), id) != targets.end()) Apply(c->OnClick(id));
    }
}

void FrmMain::Apply(const ViewChanges& changes) {
    for (const ElementChange& change : changes) {
        if (Index(change.id) >= kElementCount) continue;
        if (change.text) SetText(change.id, *change.text);
        if (change.visible) Show(change.id, *change.visible);
        if (change.picture) elements_.SetPicture(Index(change.id), *change.picture);
    }
}

const std::string& FrmMain::TextOf(Ctl id) const {
    static const std::string kNone;
    return Index(id) < kElementCount ? element(id).text : kNone;
}

void FrmMain::Announce(std::string_view title, std::string_view text) {
    ShowTrayBalloon(title, text, kTrayInfoIconInformation, kBalloonTimeoutMs);
    ports_.host.StartTimer(TimerId::T3, kT3IntervalMs);
}

// --- Header and clock ---------------------------------------------------------

void FrmMain::WriteDateHeader(const CivilDate& today) {
    clsDate headerCal;
    DateHeader header = MakeDateHeader(today, headerCal);
    SetText(Ctl::Label4, std::move(header.Label4));
    SetText(Ctl::Label3, std::move(header.Label3));
    SetText(Ctl::Label1, std::move(header.Label1));
    headerDate_ = today;
}

void FrmMain::ClockTick() {
    const LocalDateTime now = ports_.clock.Now();
    ClockTexts texts = MakeClockTexts(now);
    SetText(Ctl::Label2, std::move(texts.Label2));
    SetText(Ctl::La, std::move(texts.La));
    // Past midnight (or after the clock was set) the header and the grid's
    // today mark move to the new day.
    const CivilDate today{now.year, now.month, now.day};
    if (headerDate_ && *headerDate_ != today) {
        WriteDateHeader(today);
        ReDrawCalendar();
    }
}

void FrmMain::onTimer(TimerId id) {
    switch (id) {
        case TimerId::Timer2:
            ClockTick();
            break;
        case TimerId::T1:
            ports_.host.StopTimer(TimerId::T1);
            t1Running_ = false;
            // The lists are filled once per start: a stray later tick would
            // add every province again and undo the user's choice.
            if (++t1Ticks_ == 1) {
                FillLists();
                Broadcast(WindowEvent::ListsFilled);
            }
            break;
        case TimerId::T3:
            // The balloon's time is up: the icon stays, without the balloon,
            // so the window and the exit item remain reachable.
            ports_.host.StopTimer(TimerId::T3);
            tray_.AddTrayIcon(kTrayTip);
            break;
        case TimerId::TmrLoad:
            ports_.host.StopTimer(TimerId::TmrLoad);  // one tick per start
            Broadcast(WindowEvent::LoadTimerTick);
            break;
    }
}

void FrmMain::FillLists() {
    list1Items_.clear();
    list2Items_.clear();
    for (int year = kListFirstYear; year <= kListLastYear; ++year)
        list1Items_.push_back(std::to_string(year));
    for (int month = 1; month <= 12; ++month) list2Items_.push_back(std::to_string(month));
    elements_.MarkChanged(Index(Ctl::List1));
    elements_.MarkChanged(Index(Ctl::List2));
}

// --- Window geometry ------------------------------------------------------------

Rect FrmMain::windowPixels() const {
    return dpi_.Px(Rect{rect_.left, rect_.top, rect_.width, rect_.height});
}

void FrmMain::onFormResize(int widthTwips, int heightTwips, bool minimized) {
    if (minimized) return;
    const WindowRect asked{rect_.left, rect_.top, widthTwips, heightTwips};
    rect_ = AtLeast(asked, minWidth_, minHeight_);
    if (rect_ != asked) ports_.host.ApplyWindowRect(rect_);
    FormResize();
}

void FrmMain::FormResize() {
    LayOut(elements_, rect_.width, rect_.height, PanelOpen());
    ReDrawCalendar();
}

void FrmMain::SetWindowRect(const WindowRect& rect) {
    if (rect == rect_) return;
    rect_ = rect;
    ports_.host.ApplyWindowRect(rect_);
    FormResize();
}

void FrmMain::onDpiChanged(int dpi, const Rect& suggested) {
    dpi_ = ui::Dpi(dpi);
    screen_.dpi = dpi_.value();
    // The window keeps its size in twips; it goes where the system proposes.
    rect_.left = dpi_.Twips(suggested.left);
    rect_.top = dpi_.Twips(suggested.top);
    ports_.host.ApplyWindowRect(rect_);
    elements_.MarkAllChanged();
    FormResize();
}

void FrmMain::SetVisible(bool visible) {
    visible_ = visible;
    ports_.host.SetVisible(visible);
}

void FrmMain::ToggleVisible() { SetVisible(!ports_.host.IsVisible()); }

void FrmMain::SetHeaderHeight(int pixels) {
    headerHeight_ = std::max(pixels, 0);
    ReDrawCalendar();
}

void FrmMain::SetDaysOff(std::shared_ptr<const DaysOff> daysOff) {
    daysOff_ = std::move(daysOff);
    ReDrawCalendar();
}

GridGeometry FrmMain::gridGeometry() const {
    const Rect pic = dpi_.Px(element(Ctl::picMain).rect);
    return GridGeometry::For(pic.width, pic.height, headerHeight_, dpi_);
}

// --- Grid and panel -----------------------------------------------------------------

void FrmMain::ReDrawCalendar() {
    if (sel_.year == 0) return;  // nothing to draw before start-up set today
    grid_ = DrawMonthGrid(GridInput{sel_, Today(), gridGeometry(), daysOff_.get()}, cal_);
    elements_.MarkChanged(Index(Ctl::picMain));
    // The captions always name the month the grid shows.
    SetText(Ctl::Label5, std::to_string(sel_.year));
    SetText(Ctl::Label7, std::to_string(sel_.month));
    ApplyDayInfo(ShowDayInfo(sel_, cal_, tables_, daysOff_.get()));
    // The lists' selection follows the displayed year and month.
    elements_.MarkChanged(Index(Ctl::List1));
    elements_.MarkChanged(Index(Ctl::List2));
}

void FrmMain::ApplyDayInfo(const DayInfo& info) {
    for (int i = 0; i < kPanelLineCount; ++i) SetText(L(i), info.L[static_cast<size_t>(i)]);
    SetText(Ctl::Label15, info.Label15);
    SetText(Ctl::Label16, info.Label16);
    SetText(Ctl::DayOff, info.DayOff);
    SetText(Ctl::Almanac, info.Almanac);
    if (info.Text1) SetText(Ctl::Text1, *info.Text1);
}

void FrmMain::SetText(Ctl id, std::string text) { elements_.SetText(Index(id), std::move(text)); }

void FrmMain::Show(Ctl id, bool visible) { elements_.SetVisible(Index(id), visible); }

const std::vector<std::string>& FrmMain::listItems(Ctl list) const {
    return list == Ctl::List1 ? list1Items_ : list2Items_;
}

int FrmMain::listSelection(Ctl list) const {
    const std::vector<std::string>& items = listItems(list);
    const std::string wanted = std::to_string(list == Ctl::List1 ? sel_.year : sel_.month);
    const auto it = std::find(items.begin(), items.end(), wanted);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

// --- Tray --------------------------------------------------------------------------

void FrmMain::ShowTrayBalloon(std::string_view title, std::string_view text, uint32_t iconKind,
                              uint32_t timeoutMs) {
    tray_.ShowTrayBalloon(title, text, iconKind, timeoutMs);
}

void FrmMain::EndCalendar() {
    // No dead icon may stay behind in the tray.
    tray_.RemoveTrayIcon();
    ports_.host.Quit();
}

void FrmMain::Exit() {
    // The icon goes first, or it lingers in the tray after the process is gone.
    tray_.RemoveTrayIcon();
    for (std::string_view name : kExitEndOrder) ports_.processes.EndProcessesByName(name);
    // Still here: ending our own process failed. Leave anyway.
    ports_.host.Quit();
}

}  // namespace torvane::calendar
