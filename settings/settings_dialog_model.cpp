#include "settings/settings_dialog_model.h"

#include <algorithm>

#include "calendar/header.h"

namespace torvane::settings {

namespace {

constexpr std::string_view kJoin = "    ";  // between two texts of one preview

std::string Joined(std::string_view a, std::string_view b) {
    std::string text(a);
    return text.append(kJoin).append(b);
}

}  // namespace

Sz::Sz(const SzPorts& ports, SzConfig config)
    : ports_(ports), config_(std::move(config)), elements_(SzDesignedElements()) {
    SetText(SzCtl::Label13, std::string(kLinkPrefix) + config_.homeUrl);
    SetText(SzCtl::Label14, std::string(kMailPrefix) + std::string(kContactMail));
    // Screen readers name a display switch by its caption as designed: the
    // preview beside it is the main window's text, not the switch's name.
    for (const SwitchDesign& s : kSwitches) {
        if (s.showsOnMain) SetText(s.picture, std::string(DesignedText(s.caption)));
    }
    MakePictures();
    for (size_t i = 0; i < kSwitches.size(); ++i) ShowSwitch(i, false);
}

// --- Life ----------------------------------------------------------------------

void Sz::Open() {
    if (!loaded_) Load();
    ports_.host.Show();
}

void Sz::Load() {
    const MainWindowPlace place = ports_.main.Place();
    dpi_ = ui::Dpi(place.dpi);
    MakePictures();
    rect_ = SzPlacement(place.window, dpi_.Twips(place.workAreaPx));
    ports_.host.ApplyWindowRect(rect_);

    for (size_t i = 0; i < kSwitches.size(); ++i)
        ShowSwitch(i, IsFlagOn(ports_.settings.ReadSetting(kSysSection, kSwitches[i].key, "")));
    LoadPreviews();
    ClockPreview();
    ports_.host.StartTimer(kClockPreviewIntervalMs);

    focus_ = 0;
    ShowFocus(false);
    elements_.SetLook(Index(SzCtl::I1), ui::Look::Normal);
    elements_.MarkAllChanged();
    loaded_ = true;
}

void Sz::Unload() {
    ports_.host.StopTimer();
    ports_.host.Hide();
    presses_.Cancel();
    loaded_ = false;
}

void Sz::LoadPreviews() {
    const MainWindowTexts main = ports_.main.Texts();
    SetText(SzCtl::Label2, Joined(main.Label12, main.Label8));
    SetText(SzCtl::Label3, Joined(main.Label9, main.Label13));
    SetText(SzCtl::Label5, main.Label1);
    SetText(SzCtl::Label6, main.Label4);
}

// Asked several times a second, the text changes when the second does, and
// its word is that of the time shown.
void Sz::ClockPreview() {
    const calendar::ClockTexts now = calendar::MakeClockTexts(ports_.clock.Now());
    SetText(SzCtl::Label4, Joined(now.Label2, now.La));
}

void Sz::onTimer() {
    if (loaded_) ClockPreview();
}

void Sz::onClose() { Unload(); }

// --- Switches ----------------------------------------------------------------------

void Sz::MakePictures() {
    b1_ = SwitchPicture(false, dpi_);
    b2_ = SwitchPicture(true, dpi_);
    for (const SwitchDesign& s : kSwitches) elements_.MarkChanged(Index(s.picture));
}

void Sz::ShowSwitch(size_t index, bool on) {
    const SwitchDesign& s = kSwitches[index];
    if (pictures_[index] != (on ? &b2_ : &b1_)) elements_.MarkChanged(Index(s.picture));
    pictures_[index] = on ? &b2_ : &b1_;
    if (s.showsOnMain) return;
    std::string caption(on ? s.onCaption : s.offCaption);
    SetText(s.picture, caption);
    SetText(s.caption, std::move(caption));
}

bool Sz::IsOn(SzCtl picture) const {
    const std::optional<size_t> index = SwitchOf(picture);
    return index && pictures_[*index] == &b2_;
}

void Sz::Flip(size_t index) {
    const SwitchDesign& s = kSwitches[index];
    ports_.settings.WriteSetting(kSysSection, s.key, FlagText(pictures_[index] != &b2_));
    // The switch shows what the file holds: a refused write leaves it as it was.
    ShowSwitch(index, IsFlagOn(ports_.settings.ReadSetting(kSysSection, s.key, "")));
    if (s.showsOnMain) ports_.main.ReloadDisplaySwitches();
}

const ui::DrawList* Sz::Picture(uint16_t id) const {
    const std::optional<size_t> index = SwitchOf(static_cast<SzCtl>(id));
    return index && kSwitches[*index].picture == static_cast<SzCtl>(id) ? pictures_[*index] : nullptr;
}

// --- Mouse -------------------------------------------------------------------------

std::optional<SzCtl> Sz::ElementAt(int x, int y) const { return ui::ElementAt<SzCtl>(elements_, ui::Point{x, y}, dpi_); }

void Sz::onMouseDown(int x, int y) {
    if (!loaded_) {
        presses_.Cancel();
        return;
    }
    const ui::Press press = presses_.Down(elements_, ui::Point{x, y}, dpi_);
    if (press.action != ui::PressAction::Drag) return;
    const Rect after = presses_.Drag([this] {
        ports_.host.SetCustomPointer(true);
        const Rect moved = ports_.host.RunMoveLoop();
        ports_.host.SetCustomPointer(false);
        return moved;
    });
    rect_.left = after.left;
    rect_.top = after.top;
}

void Sz::onMouseUp(int x, int y) {
    if (const auto clicked = presses_.Up(elements_, ui::Point{x, y}, dpi_)) Click(static_cast<SzCtl>(*clicked));
}

void Sz::onMouseMove(int x, int y) {
    elements_.SetLook(Index(SzCtl::I1), ElementAt(x, y) == SzCtl::I1 ? ui::Look::Hover : ui::Look::Normal);
}

void Sz::onMouseLeave() { elements_.SetLook(Index(SzCtl::I1), ui::Look::Normal); }

void Sz::Click(SzCtl id) {
    if (id == SzCtl::I1) {
        Unload();
        return;
    }
    if (id == SzCtl::Label13) {
        ports_.shell.OpenWebPage(config_.homeUrl);
        return;
    }
    const std::optional<size_t> index = SwitchOf(id);
    if (!index) return;
    // The switch clicked is where the keys act next.
    const auto at = std::find(kFocusOrder.begin(), kFocusOrder.end(), kSwitches[*index].picture);
    focus_ = static_cast<size_t>(at - kFocusOrder.begin());
    if (element(SzCtl::Focus).visible) ShowFocus(true);
    Flip(*index);
}

// --- Keyboard ----------------------------------------------------------------------

void Sz::onKeyDown(int keyCode, bool shift, bool repeat) {
    if (!loaded_) return;
    switch (keyCode) {
        case kKeyTab:
            MoveFocus(shift ? -1 : 1);
            break;
        case kKeySpace:
        case kKeyEnter:
            // A held key flips the switch once, as a check box does.
            if (repeat) break;
            ShowFocus(true);
            Click(Focused());
            break;
        case kKeyEscape:
            Unload();
            break;
        default:
            break;
    }
}

void Sz::MoveFocus(int step) {
    const int count = static_cast<int>(kFocusOrder.size());
    focus_ = static_cast<size_t>((static_cast<int>(focus_) + step + count) % count);
    ShowFocus(true);
}

void Sz::ShowFocus(bool shown) {
    elements_.SetRect(Index(SzCtl::Focus), FocusMarkFor(element(Focused()).rect));
    elements_.SetVisible(Index(SzCtl::Focus), shown);
}

// --- DPI ---------------------------------------------------------------------------

void Sz::onDpiChanged(int dpi, const Rect& suggested) {
    dpi_ = ui::Dpi(dpi);
    // The dialog keeps its size in twips; it goes where the system proposes.
    rect_.left = dpi_.Twips(suggested.left);
    rect_.top = dpi_.Twips(suggested.top);
    ports_.host.ApplyWindowRect(rect_);
    MakePictures();
    elements_.MarkAllChanged();
}

}  // namespace torvane::settings
