#include "settings/settings_dialog_layout.h"

#include <algorithm>
#include <vector>

#include "calendar/constants.h"
#include "calendar/layout.h"

namespace torvane::settings {

namespace {

using calendar::kAccent;
using calendar::kTextPrimary;
using calendar::kTextSecondary;
using ui::ElementKind;
using ui::Glyph;
using ui::Rgb;
using ui::Style;
using ui::Tw;

using ElementDesign = ui::ElementDesign<SzCtl>;

constexpr Rgb kSkin = calendar::kSkinBackground;
constexpr Rgb kTintTop{224, 234, 255};
constexpr Rgb kSwitchOff{148, 163, 184};
constexpr Rgb kSwitchOffInside{255, 255, 255};
constexpr Rgb kSwitchMark{255, 255, 255};

constexpr Style Plain(Rgb color, int font = calendar::kLabelFontCentiPt, bool bold = false) {
    return Style{color, color, kSkin, false, font, bold, Glyph::None, 0};
}

constexpr int kFooterFontCentiPt = 800;  // the link and the e-mail line: an address fits beside the switches

constexpr Style kSkinStyle{kTextPrimary, kTintTop, kSkin, true, calendar::kLabelFontCentiPt, false, Glyph::None, Tw(40)};
constexpr Style kTitle = Plain(kAccent, calendar::kTitleFontCentiPt, true);
constexpr Style kGroup = Plain(kTextPrimary, calendar::kLabelFontCentiPt, true);
constexpr Style kText = Plain(kTextPrimary);
constexpr Style kQuiet = Plain(kTextSecondary, kFooterFontCentiPt);
constexpr Style kLink = Plain(kAccent, kFooterFontCentiPt);
constexpr Style kClose{calendar::kButtonGlyph, calendar::kCloseGlyphHover, kSkin, false,
                       calendar::kLabelFontCentiPt, false, Glyph::Close, 0};
constexpr Style kSwitch{kTextPrimary, kTextPrimary, kSkin, false, calendar::kLabelFontCentiPt, false, Glyph::None, 0};
constexpr Style kMark{kAccent, kAccent, kAccent, true};
constexpr Style kFrame{calendar::kFrameLine, calendar::kFrameLine, calendar::kFrameLine, true};

constexpr uint8_t kNone = ui::kNoTrait;
constexpr uint8_t kDrag = ui::kDragsWindow;
constexpr uint8_t kClick = ui::kClickable;

using K = ElementKind;

// Places in pixels at 96 DPI, turned into twips; the client is 400 x 300.
constexpr Rect At(int left, int top, int width, int height) { return {Tw(left), Tw(top), Tw(width), Tw(height)}; }

// Switch rows are 40 pixels (600 twips) apart; a caption sits 4 pixels
// (60 twips) above its switch.
constexpr int kFirstRow = 52, kRowStep = 40, kCaptionRise = 4;
constexpr Rect Switch(int left, int row) { return At(left, kFirstRow + row * kRowStep, 15, 15); }
constexpr Rect Caption(int left, int row, int width) {
    return At(left, kFirstRow + row * kRowStep - kCaptionRise, width, 22);
}
constexpr int kLeftColumn = 24, kLeftCaption = 48, kRightColumn = 208, kRightCaption = 228;
constexpr int kLeftCaptionWidth = 152, kRightCaptionWidth = 170;

constexpr std::array<ElementDesign, kSzElementCount> kDesign = {{
    {SzCtl::P1, "P1", K::Skin, At(0, 0, 400, 300), kSkinStyle, kDrag, {}},
    {SzCtl::FrameTop, "frameTop", K::FrameLine, At(0, 0, 400, 1), kFrame, kNone, {}},
    {SzCtl::FrameLeft, "frameLeft", K::FrameLine, At(0, 0, 1, 300), kFrame, kNone, {}},
    {SzCtl::FrameRight, "frameRight", K::FrameLine, At(399, 0, 1, 300), kFrame, kNone, {}},
    {SzCtl::FrameBottom, "frameBottom", K::FrameLine, At(0, 299, 400, 1), kFrame, kNone, {}},
    {SzCtl::Label1, "Label1", K::Label, At(10, 4, 120, 22), kTitle, kDrag, "软件设置"},
    {SzCtl::I1, "I1", K::Button, At(376, 8, 10, 10), kClose, kClick, {}},
    {SzCtl::Label9, "Label9", K::Label, At(32, 32, 150, 18), kGroup, kNone, "界面设置"},
    {SzCtl::Label8, "Label8", K::Label, At(224, 32, 150, 18), kGroup, kNone, "基本设置"},
    {SzCtl::Focus, "focus", K::FrameLine, At(0, 0, 0, 0), kMark, kNone, {}},
    {SzCtl::c1, "c1", K::Surface, Switch(kLeftColumn, 0), kSwitch, kClick, {}},
    {SzCtl::c2, "c2", K::Surface, Switch(kLeftColumn, 1), kSwitch, kClick, {}},
    {SzCtl::c3, "c3", K::Surface, Switch(kLeftColumn, 2), kSwitch, kClick, {}},
    {SzCtl::c4, "c4", K::Surface, Switch(kLeftColumn, 3), kSwitch, kClick, {}},
    {SzCtl::c5, "c5", K::Surface, Switch(kLeftColumn, 4), kSwitch, kClick, {}},
    {SzCtl::c6, "c6", K::Surface, Switch(kLeftColumn, 5), kSwitch, kClick, {}},
    {SzCtl::c7, "c7", K::Surface, Switch(kRightColumn, 0), kSwitch, kClick, {}},
    {SzCtl::c8, "c8", K::Surface, Switch(kRightColumn, 1), kSwitch, kClick, {}},
    {SzCtl::c9, "c9", K::Surface, Switch(kRightColumn, 2), kSwitch, kClick, {}},
    {SzCtl::Label2, "Label2", K::Label, Caption(kLeftCaption, 0, kLeftCaptionWidth), kText, kNone, "城市 度数"},
    {SzCtl::Label3, "Label3", K::Label, Caption(kLeftCaption, 1, kLeftCaptionWidth), kText, kNone, "晴"},
    {SzCtl::Label4, "Label4", K::Label, Caption(kLeftCaption, 2, kLeftCaptionWidth), kText, kNone, "时间"},
    {SzCtl::Label5, "Label5", K::Label, Caption(kLeftCaption, 3, kLeftCaptionWidth), kText, kNone, "日期"},
    {SzCtl::Label6, "Label6", K::Label, Caption(kLeftCaption, 4, kLeftCaptionWidth), kText, kNone, "年"},
    {SzCtl::Label7, "Label7", K::Label, Caption(kLeftCaption, 5, kLeftCaptionWidth), kText, kNone, "节日信息"},
    {SzCtl::Label10, "Label10", K::Label, Caption(kRightCaption, 0, kRightCaptionWidth), kText, kClick, "开机启动日历"},
    {SzCtl::Label11, "Label11", K::Label, Caption(kRightCaption, 1, kRightCaptionWidth), kText, kClick, "开启气泡提示天气"},
    {SzCtl::Label12, "Label12", K::Label, Caption(kRightCaption, 2, kRightCaptionWidth), kText, kClick, "手动升级"},
    {SzCtl::Label13, "Label13", K::Label, At(216, 232, 182, 20), kLink, kClick, kLinkPrefix},
    {SzCtl::Label14, "Label14", K::Label, At(216, 256, 182, 20), kQuiet, kNone, kMailPrefix},
}};

static_assert(ui::DesignInOrder(kDesign), "element table must follow the order of SzCtl");

// The display switches flip what the main window's own table shows.
constexpr bool SameDisplayKeys() {
    for (size_t i = 0; i < kSwitches.size(); ++i) {
        const bool display = i < calendar::kDisplaySwitches.size();
        if (kSwitches[i].showsOnMain != display) return false;
        if (display && kSwitches[i].key != calendar::kDisplaySwitches[i].key) return false;
    }
    return true;
}
static_assert(SameDisplayKeys(), "c1..c6 must write the main window's display switches in order");

constexpr int kFocusGap = Tw(6), kFocusWidth = Tw(2);

void Fill(ui::DrawList& list, Rgb color, int x1, int y1, int x2, int y2) {
    list.push_back(ui::DrawOp{ui::DrawKind::FillRect, color, x1, y1, x2, y2, {}, false, 0});
}

// A square with its corner pixels cut, so it reads as rounded.
void RoundedSquare(ui::DrawList& list, Rgb color, int inset, int size) {
    const int far = size - inset, cut = inset + 1;
    Fill(list, color, cut, inset, far - 1, far);
    Fill(list, color, inset, cut, far, far - 1);
}

}  // namespace

std::optional<size_t> SwitchOf(SzCtl id) {
    for (size_t i = 0; i < kSwitches.size(); ++i) {
        if (kSwitches[i].picture == id || (!kSwitches[i].showsOnMain && kSwitches[i].caption == id)) return i;
    }
    return std::nullopt;
}

ElementSet SzDesignedElements() {
    std::vector<Element> elements = ui::DesignedElements(kDesign);
    elements[Index(SzCtl::Focus)].visible = false;  // until a key moves the focus
    return ElementSet(std::move(elements));
}

std::string_view DesignedText(SzCtl id) { return kDesign[Index(id)].designedText; }

Rect FocusMarkFor(const Rect& focused) {
    return Rect{focused.left - kFocusGap, focused.top, kFocusWidth, focused.height};
}

ui::DrawList SwitchPicture(bool on, const ui::Dpi& dpi) {
    const int size = dpi.Scale(15);
    ui::DrawList list;
    list.push_back(ui::DrawOp{ui::DrawKind::Clear, kSkin, 0, 0, 0, 0, {}, false, 0});
    if (!on) {
        RoundedSquare(list, kSwitchOff, 0, size);
        const int border = std::max(dpi.Scale(1), 1);
        Fill(list, kSwitchOffInside, border, border, size - border, size - border);
        return list;
    }
    RoundedSquare(list, kAccent, 0, size);
    // A tick, as thick as two design pixels: short stroke down, long stroke up.
    const int thick = std::max(dpi.Scale(2), 1);
    const int x1 = size * 3 / 15, y1 = size * 7 / 15;
    const int x2 = size * 6 / 15, y2 = size * 10 / 15;
    const int x3 = size * 11 / 15, y3 = size * 4 / 15;
    for (int i = 0; i < thick; ++i) {
        list.push_back(ui::DrawOp{ui::DrawKind::Line, kSwitchMark, x1, y1 + i, x2, y2 + i, {}, false, 0});
        list.push_back(ui::DrawOp{ui::DrawKind::Line, kSwitchMark, x2, y2 + i, x3, y3 + i, {}, false, 0});
    }
    return list;
}

Rect SzPlacement(const Rect& main, const Rect& work) {
    // Negative when the dialog overlaps the main window (a narrow main window).
    const int gap = main.width + kSzGapLeft - kSzWidth;
    Rect r{main.left - gap - kSzWidth, main.top, kSzWidth, kSzHeight};
    if (r.left < work.left) r.left = main.right() + gap;
    // On the work area, its left and top edges first when it is too small.
    r.left = std::max(std::min(r.left, work.right() - kSzWidth), work.left);
    r.top = std::max(std::min(r.top, work.bottom() - kSzHeight), work.top);
    return r;
}

}  // namespace torvane::settings
