#include "calendar/layout.h"

#include <algorithm>

namespace torvane::calendar {

namespace {

struct ElementDesign {
    Ctl id;
    std::string_view name;
    ElementKind kind;
    Rect rect;  // as designed; Form_Resize moves some of them
    ElementStyle style;
    uint8_t traits;
    std::string_view designedText;
};

constexpr ElementStyle kSkinStyle{kTextPrimary, kTextPrimary, kSkinBackground, true};
constexpr ElementStyle kPanelStyle{kTextPrimary, kTextPrimary, kPanelBackground, true};
constexpr ElementStyle kFrameStyle{kFrameLine, kFrameLine, kFrameLine, true};
constexpr ElementStyle kTitleStyle{kAccent, kAccent, kSkinBackground, false, kTitleFontCentiPt, true};
constexpr ElementStyle kButtonStyle{kButtonGlyph, kButtonGlyphHover};
constexpr ElementStyle kCloseStyle{kButtonGlyph, kCloseGlyphHover};
constexpr ElementStyle kTodayStyle{kAccent, kAccentHover};
constexpr ElementStyle kPrimary{kTextPrimary, kTextPrimary};
constexpr ElementStyle kSecondary{kTextSecondary, kTextSecondary};
constexpr ElementStyle kFestival{kFestivalText, kFestivalText};
constexpr ElementStyle kClockStyle{kTextPrimary, kTextPrimary, kSkinBackground, false,
                                   kClockFontCentiPt};
constexpr ElementStyle kCaptionStyle{kTextPrimary, kTextPrimary, kSkinBackground, false,
                                     kGridFontCentiPt, true};
constexpr ElementStyle kPanelHeading{kTextPrimary, kTextPrimary, kPanelBackground, false,
                                     kLabelFontCentiPt, true};
constexpr ElementStyle kPanelText{kTextPrimary, kTextPrimary, kPanelBackground, false};
constexpr ElementStyle kListStyle{kTextPrimary, kTextPrimary, kPanelBackground, true};
constexpr ElementStyle kGridStyle{kTextPrimary, kTextPrimary, kGridBackground, true,
                                  kGridFontCentiPt};

constexpr uint8_t kDrag = kDragsWindow;
constexpr uint8_t kClick = kClickable;
constexpr uint8_t kDragClick = kDragsWindow | kClickable;

using K = ElementKind;

// Positions in pixels of the client area; the designed client is 352 x 519.
constexpr std::array<ElementDesign, kElementCount> kDesign = {{
    {Ctl::Image1, "Image1", K::Skin, {0, 0, 352, 519}, kSkinStyle, kDrag, {}},
    {Ctl::Image6, "Image6", K::Skin, {352, 0, 0, 519}, kPanelStyle, kDrag, {}},
    {Ctl::P1, "P1", K::FrameLine, {0, 1, 1, 519}, kFrameStyle, kNoTrait, {}},
    {Ctl::P2, "P2", K::FrameLine, {351, 1, 1, 519}, kFrameStyle, kNoTrait, {}},
    {Ctl::P3, "P3", K::FrameLine, {1, 518, 350, 1}, kFrameStyle, kNoTrait, {}},
    {Ctl::P4, "P4", K::FrameLine, {1, 0, 350, 1}, kFrameStyle, kNoTrait, {}},
    {Ctl::P5, "P5", K::FrameLine, {350, 1, 1, 517}, kFrameStyle, kNoTrait, {}},
    {Ctl::bt, "bt", K::Label, {8, 6, 58, 18}, kTitleStyle, kNoTrait, "Torvane"},
    {Ctl::c1, "c1", K::Button, {68, 10, 12, 12}, kButtonStyle, kClick, {}},
    {Ctl::I1, "I1", K::Button, {336, 6, 9, 9}, kCloseStyle, kClick, {}},
    {Ctl::I11, "I11", K::Button, {336, 6, 9, 9}, kButtonStyle, kClick, {}},
    {Ctl::Image5, "Image5", K::Picture, {16, 48, 60, 48}, kPrimary, kDrag, {}},
    {Ctl::Pi, "Pi", K::Picture, {80, 48, 4, 18}, kPrimary, kNoTrait, {}},
    {Ctl::Label12, "Label12", K::Label, {88, 48, 80, 18}, kPrimary, kNoTrait, {}},
    {Ctl::Label8, "Label8", K::Label, {88, 72, 38, 18}, kSecondary, kDrag, {}},
    {Ctl::Image7, "Image7", K::Button, {128, 72, 16, 16}, kButtonStyle, kClick, {}},
    {Ctl::Label9, "Label9", K::Label, {24, 100, 84, 18}, kSecondary, kDrag, {}},
    {Ctl::Label13, "Label13", K::Label, {110, 100, 60, 18}, kSecondary, kDrag, {}},
    {Ctl::Label10, "Label10", K::Label, {16, 120, 150, 18}, kSecondary, kNoTrait, {}},
    {Ctl::Label2, "Label2", K::Label, {175, 40, 140, 38}, kClockStyle, kDrag, {}},
    {Ctl::La, "La", K::Label, {318, 64, 30, 16}, kSecondary, kNoTrait, {}},
    {Ctl::Label1, "Label1", K::Label, {224, 80, 124, 16}, kSecondary, kDrag, {}},
    {Ctl::Label4, "Label4", K::Label, {242, 96, 106, 16}, kSecondary, kDrag, {}},
    {Ctl::Label16, "Label16", K::Label, {217, 120, 60, 16}, kFestival, kDrag, {}},
    {Ctl::Label15, "Label15", K::Label, {277, 120, 70, 16}, kFestival, kDrag, {}},
    {Ctl::text2, "text2", K::Placeholder, {179, 156, 70, 20}, kPrimary, kNoTrait, {}},
    {Ctl::Combo3, "Combo3", K::Placeholder, {252, 156, 70, 20}, kPrimary, kNoTrait, {}},
    {Ctl::Image2_0, "Image2(0)", K::Button, {8, 162, 16, 16}, kButtonStyle, kClick, {}},
    {Ctl::Image2_1, "Image2(1)", K::Button, {145, 162, 16, 16}, kButtonStyle, kClick, {}},
    {Ctl::Image2_2, "Image2(2)", K::Button, {167, 162, 16, 16}, kButtonStyle, kClick, {}},
    {Ctl::Image2_3, "Image2(3)", K::Button, {30, 162, 16, 16}, kButtonStyle, kClick, {}},
    {Ctl::Image2_4, "Image2(4)", K::Button, {320, 154, 28, 24}, kTodayStyle, kClick, "今天"},
    {Ctl::Label5, "Label5", K::Label, {50, 158, 80, 20}, kCaptionStyle, kDragClick, "2014"},
    {Ctl::Label6, "Label6", K::Label, {98, 158, 14, 20}, kCaptionStyle, kDrag, "-"},
    {Ctl::Label7, "Label7", K::Label, {120, 158, 22, 20}, kCaptionStyle, kDragClick, "2"},
    {Ctl::picMain, "picMain", K::Grid, {0, 184, 350, 325}, kGridStyle, kDrag, {}},
    {Ctl::L0, "L(0)", K::Label, {360, 40, 250, 17}, kPanelHeading, kNoTrait, {}},
    {Ctl::L1, "L(1)", K::Label, {360, 60, 250, 17}, kPanelText, kNoTrait, {}},
    {Ctl::L2, "L(2)", K::Label, {360, 80, 250, 17}, kPanelText, kNoTrait, {}},
    {Ctl::L3, "L(3)", K::Label, {360, 100, 250, 17}, kPanelText, kNoTrait, {}},
    {Ctl::L4, "L(4)", K::Label, {360, 120, 250, 17}, kPanelText, kNoTrait, {}},
    {Ctl::L5, "L(5)", K::Label, {360, 140, 250, 17}, kPanelText, kNoTrait, {}},
    {Ctl::L6, "L(6)", K::Label, {360, 160, 240, 120}, kPanelText, kNoTrait, "人物性格"},
    {Ctl::L7, "L(7)", K::Label, {360, 277, 240, 17}, kPanelText, kNoTrait, {}},
    {Ctl::Text1, "Text1", K::TextBox, {360, 296, 240, 200}, kPanelText, kNoTrait, "Text1"},
    {Ctl::Label3, "Label3", K::Label, {488, 280, 40, 16}, kPanelText, kNoTrait, {}},
    {Ctl::adbox, "adbox", K::Placeholder, {357, 267, 240, 235}, kPanelText, kNoTrait, {}},
    {Ctl::List1, "List1", K::List, {50, 178, 80, 200}, kListStyle, kNoTrait, {}},
    {Ctl::List2, "List2", K::List, {120, 178, 50, 200}, kListStyle, kNoTrait, {}},
}};

constexpr bool DesignInOrder() {
    for (size_t i = 0; i < kDesign.size(); ++i) {
        if (static_cast<size_t>(kDesign[i].id) != i) return false;
    }
    return true;
}
static_assert(DesignInOrder(), "element table must follow the order of Ctl");

constexpr int kCloseButtonInset = 16;   // from the client's right edge
constexpr int kFrameLineThickness = 1;

// Pictures that the window background resets to their normal look.
constexpr std::array<Ctl, 7> kBackgroundResets = {Ctl::I1,       Ctl::c1,       Ctl::Image2_0,
                                                  Ctl::Image2_1, Ctl::Image2_2, Ctl::Image2_3,
                                                  Ctl::Image2_4};

void SetLook(Elements& elements, Ctl id, ButtonLook look) { elements[Index(id)].look = look; }

}  // namespace

Elements DesignedElements() {
    Elements elements;
    for (size_t i = 0; i < kDesign.size(); ++i) {
        const ElementDesign& d = kDesign[i];
        Element& e = elements[i];
        e.id = d.id;
        e.name = d.name;
        e.kind = d.kind;
        e.rect = d.rect;
        e.style = d.style;
        e.traits = d.traits;
        e.text = std::string(d.designedText);
    }
    // Hidden until the user opens them, or until their feature exists (the
    // weather refresh button comes with the weather block).
    for (Ctl id : {Ctl::List1, Ctl::List2, Ctl::text2, Ctl::Combo3, Ctl::adbox, Ctl::Image7})
        elements[Index(id)].visible = false;
    return elements;
}

void LayOut(Elements& e, int clientWidth, int clientHeight) {
    const int w = std::max(clientWidth, 0);
    const int h = std::max(clientHeight, 0);
    auto at = [&e](Ctl id) -> Rect& { return e[Index(id)].rect; };

    Rect& pic = at(Ctl::picMain);
    pic = Rect{kPicMainLeft, pic.top, kPicMainWidth, std::max(h - pic.top - kPicMainBottomGap, 0)};

    at(Ctl::P4) = Rect{1, 0, kPicMainWidth, kFrameLineThickness};
    at(Ctl::P1) = Rect{0, 1, kFrameLineThickness, h};
    at(Ctl::P2) = Rect{w - kFrameLineThickness, 1, kFrameLineThickness, h};
    at(Ctl::P5) = Rect{kPicMainWidth, 1, kFrameLineThickness, std::max(h - 2, 0)};
    at(Ctl::P3) = Rect{1, h - kFrameLineThickness, kPicMainWidth, kFrameLineThickness};

    // The rest sit where they were designed; the skins and the collapse
    // button follow the window's size.
    for (size_t i = 0; i < kDesign.size(); ++i) {
        const ElementKind kind = kDesign[i].kind;
        if (kind != ElementKind::FrameLine && kDesign[i].id != Ctl::picMain)
            e[i].rect = kDesign[i].rect;
    }
    at(Ctl::Image1) = Rect{0, 0, std::min(w, kCalendarPartWidth), h};
    at(Ctl::Image6) = Rect{kCalendarPartWidth, 0, std::max(w - kCalendarPartWidth, 0), h};
    at(Ctl::I11).left = w - kCloseButtonInset;

    at(Ctl::List1).left = at(Ctl::Label5).left;
    at(Ctl::List2).left = at(Ctl::Label7).left;
}

std::optional<Ctl> ElementAt(const Elements& elements, int x, int y) {
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        if (it->visible && it->rect.Contains(x, y)) return it->id;
    }
    return std::nullopt;
}

void ApplyHover(Elements& elements, std::optional<Ctl> over) {
    if (!over) {
        for (Ctl id : kBackgroundResets) SetLook(elements, id, ButtonLook::Normal);
        return;
    }
    switch (*over) {
        case Ctl::I1:
        case Ctl::I11:
        case Ctl::c1:
        case Ctl::Image7:
        case Ctl::Image2_4:
            SetLook(elements, *over, ButtonLook::Hover);
            break;
        case Ctl::Image2_0:
        case Ctl::Image2_1:
        case Ctl::Image2_2:
        case Ctl::Image2_3:
            for (int i = 0; i < 4; ++i) SetLook(elements, Image2(i), ButtonLook::Normal);
            SetLook(elements, *over, ButtonLook::Hover);
            break;
        case Ctl::Image1:
            for (Ctl id : kBackgroundResets) SetLook(elements, id, ButtonLook::Normal);
            SetLook(elements, Ctl::Image7, ButtonLook::Normal);
            break;
        case Ctl::Image6:
            SetLook(elements, Ctl::I11, ButtonLook::Normal);
            break;
        default:
            break;  // labels, the grid and the rest have no hover rule
    }
}

void ClearHover(Elements& elements) {
    for (Element& e : elements) e.look = ButtonLook::Normal;
}

WindowRect StartPlacement(int screenWidthTwips, int screenHeightTwips) {
    WindowRect rect;
    rect.height = kDesignedWindowHeight;
    rect.width = kWindowWidthNarrow;
    rect.top = screenHeightTwips - rect.height - kScreenBottomGap;
    rect.left = screenWidthTwips - rect.width - kScreenRightGap;
    return rect;
}

WindowRect WidenedRect(WindowRect rect, int screenWidthTwips) {
    rect.width = kWindowWidthWide;
    rect.left = screenWidthTwips - kWindowWidthWide - kScreenRightGap;
    return rect;
}

WindowRect NarrowedRect(WindowRect rect) {
    rect.width = kWindowWidthNarrow;
    return rect;
}

WindowRect AtLeast(WindowRect rect, int minWidth, int minHeight) {
    rect.width = std::max(rect.width, minWidth);
    rect.height = std::max(rect.height, minHeight);
    return rect;
}

}  // namespace torvane::calendar
