#include "calendar/layout.h"

#include <algorithm>
#include <vector>

namespace torvane::calendar {

namespace {

using ui::Glyph;
using ui::Style;
using ui::Tw;

using ElementDesign = ui::ElementDesign<Ctl>;

constexpr Rgb kHeaderTintTop = kSkinTintTop;
constexpr int kHeaderTintHeight = Tw(150);

constexpr Style Plain(Rgb color, Rgb background = kSkinBackground, int font = kLabelFontCentiPt,
                      bool bold = false) {
    return Style{color, color, background, false, font, bold, Glyph::None, 0};
}
constexpr Style Button(Glyph glyph, Rgb hover = kButtonGlyphHover) {
    return Style{kButtonGlyph, hover, kSkinBackground, false, kLabelFontCentiPt, false, glyph, 0};
}

constexpr Style kCalendarSkin{kTextPrimary, kHeaderTintTop, kSkinBackground, true, kLabelFontCentiPt, false,
                              Glyph::None, kHeaderTintHeight};
constexpr Style kPanelSkin{kTextPrimary, kTextPrimary, kPanelBackground, true};
constexpr Style kFrame{kFrameLine, kFrameLine, kFrameLine, true};
constexpr Style kTitle = Plain(kAccent, kSkinBackground, kTitleFontCentiPt, true);
constexpr Style kToday{kAccent, kAccentHover, kPanelBackground, false, kLabelFontCentiPt, false, Glyph::Pill, 0};
constexpr Style kPrimary = Plain(kTextPrimary);
constexpr Style kSecondary = Plain(kTextSecondary);
constexpr Style kFestival = Plain(kFestivalText);
constexpr Style kClock = Plain(kTextPrimary, kSkinBackground, kClockFontCentiPt);
constexpr Style kCaption = Plain(kTextPrimary, kSkinBackground, kGridFontCentiPt, true);
constexpr Style kPanelHeading = Plain(kTextPrimary, kPanelBackground, kLabelFontCentiPt, true);
constexpr Style kPanelText = Plain(kTextPrimary, kPanelBackground);
constexpr Style kPanelNote = Plain(kTextSecondary, kPanelBackground);
constexpr Style kList{kTextPrimary, kTextPrimary, kPanelBackground, true};
constexpr Style kGrid{kTextPrimary, kTextPrimary, kGridBackground, true, kGridFontCentiPt};

constexpr uint8_t kNone = ui::kNoTrait;
constexpr uint8_t kDrag = ui::kDragsWindow;
constexpr uint8_t kClick = ui::kClickable;
constexpr uint8_t kDragClick = ui::kDragsWindow | ui::kClickable;
// The city label: any button toggles the pickers, even while it is empty
// (its place stays 80 pixels wide to be hit).
constexpr uint8_t kPress = ui::kActsOnPress;

using K = ElementKind;

// Places in pixels at 96 DPI, turned into twips; the designed client is 352 x 519.
constexpr Rect At(int left, int top, int width, int height) { return {Tw(left), Tw(top), Tw(width), Tw(height)}; }

// The day panel, top to bottom: each row's element, its height and how far
// down the next row starts (the zodiac line tucks under the sketch's last
// line). A new row goes into this list; the rows below it move down.
struct PanelRow {
    Ctl id;
    int height;   // pixels at 96 DPI
    int advance;  // from this row's top to the next one's
};
constexpr int kPanelLeft = 360;
constexpr int kPanelTop = 4;
constexpr int kPanelWidth = 240;
// The almanac shares the panel's top band with the collapse button.
constexpr int kAlmanacWidth = 220;
constexpr std::array<PanelRow, 11> kPanelRows = {{
    // The day's almanac in the band above the heading: two lines, the
    // pillars and what the day is good for; the rest in its tooltip.
    {Ctl::Almanac, 34, 36},
    {Ctl::L0, 17, 20},
    {Ctl::L1, 17, 20},
    {Ctl::L2, 17, 20},
    {Ctl::L3, 17, 20},
    {Ctl::L4, 17, 20},
    {Ctl::L5, 17, 20},
    // The statutory day off has a line of its own, never cut.
    {Ctl::DayOff, 17, 20},
    {Ctl::L6, 120, 117},
    {Ctl::L7, 17, 19},
    // The story scrolls; it takes what is left above the bottom gap.
    {Ctl::Text1, 180, 0},
}};

constexpr Rect PanelRowRect(Ctl id) {
    int top = kPanelTop;
    for (const PanelRow& row : kPanelRows) {
        if (row.id == id) return At(kPanelLeft, top, id == Ctl::Almanac ? kAlmanacWidth : kPanelWidth, row.height);
        top += row.advance;
    }
    return {};
}

constexpr std::array<ElementDesign, kElementCount> kDesign = {{
    {Ctl::Image1, "Image1", K::Skin, At(0, 0, 352, 519), kCalendarSkin, kDrag, {}},
    {Ctl::Image6, "Image6", K::Skin, At(352, 0, 0, 519), kPanelSkin, kDrag, {}},
    {Ctl::P1, "P1", K::FrameLine, At(0, 1, 1, 519), kFrame, kNone, {}},
    {Ctl::P2, "P2", K::FrameLine, At(351, 1, 1, 519), kFrame, kNone, {}},
    {Ctl::P3, "P3", K::FrameLine, At(1, 518, 350, 1), kFrame, kNone, {}},
    {Ctl::P4, "P4", K::FrameLine, At(1, 0, 350, 1), kFrame, kNone, {}},
    {Ctl::P5, "P5", K::FrameLine, At(350, 1, 1, 517), kFrame, kNone, {}},
    {Ctl::bt, "bt", K::Label, At(8, 6, 58, 18), kTitle, kNone, "Torvane"},
    {Ctl::c1, "c1", K::Button, At(68, 10, 12, 12), Button(Glyph::Settings), kClick, {}},
    {Ctl::I1, "I1", K::Button, At(336, 6, 9, 9), Button(Glyph::Close, kCloseGlyphHover), kClick, {}},
    {Ctl::I11, "I11", K::Button, At(336, 6, 9, 9), Button(Glyph::Collapse), kClick, {}},
    {Ctl::Image5, "Image5", K::Picture, At(16, 48, 60, 48), kPrimary, kDrag, {}},
    {Ctl::Pi, "Pi", K::Picture, At(80, 48, 4, 18), kPrimary, kNone, {}},
    {Ctl::Label12, "Label12", K::Label, At(88, 48, 80, 18), kPrimary, kPress, "加载..."},
    {Ctl::Label8, "Label8", K::Label, At(88, 72, 38, 18), kSecondary, kDrag, {}},
    {Ctl::Image7, "Image7", K::Button, At(128, 72, 16, 16), Button(Glyph::Refresh), kClick, {}},
    {Ctl::Label9, "Label9", K::Label, At(24, 100, 84, 18), kSecondary, kDrag, {}},
    {Ctl::Label13, "Label13", K::Label, At(110, 100, 60, 18), kSecondary, kDrag, {}},
    {Ctl::Label10, "Label10", K::Label, At(16, 120, 150, 18), kSecondary, kNone, {}},
    {Ctl::Label2, "Label2", K::Label, At(175, 40, 140, 38), kClock, kDrag, {}},
    {Ctl::La, "La", K::Label, At(318, 64, 30, 16), kSecondary, kNone, {}},
    {Ctl::Label1, "Label1", K::Label, At(224, 80, 124, 16), kSecondary, kDrag, {}},
    // The date line's left edge and width: a leap month's name needs the room.
    {Ctl::Label4, "Label4", K::Label, At(224, 96, 124, 16), kSecondary, kDrag, {}},
    {Ctl::Label16, "Label16", K::Label, At(217, 120, 60, 16), kFestival, kDrag, {}},
    {Ctl::Label15, "Label15", K::Label, At(277, 120, 70, 16), kFestival, kDrag, {}},
    {Ctl::text2, "text2", K::Placeholder, At(179, 156, 70, 21), kPrimary, kNone, {}},
    {Ctl::Combo3, "Combo3", K::Placeholder, At(252, 156, 70, 21), kPrimary, kNone, {}},
    {Ctl::Image2_0, "Image2(0)", K::Button, At(8, 162, 16, 16), Button(Glyph::PreviousYear), kClick, {}, "上一年"},
    {Ctl::Image2_1, "Image2(1)", K::Button, At(145, 162, 16, 16), Button(Glyph::PreviousMonth), kClick, {}, "上个月"},
    {Ctl::Image2_2, "Image2(2)", K::Button, At(167, 162, 16, 16), Button(Glyph::NextMonth), kClick, {}, "下个月"},
    {Ctl::Image2_3, "Image2(3)", K::Button, At(30, 162, 16, 16), Button(Glyph::NextYear), kClick, {}, "下一年"},
    {Ctl::Image2_4, "Image2(4)", K::Button, At(320, 154, 28, 24), kToday, kClick, "今天", "今天"},
    {Ctl::Label5, "Label5", K::Label, At(50, 158, 80, 20), kCaption, kDragClick, "2014"},
    {Ctl::Label6, "Label6", K::Label, At(98, 158, 14, 20), kCaption, kDrag, "-"},
    {Ctl::Label7, "Label7", K::Label, At(120, 158, 22, 20), kCaption, kDragClick, "2"},
    {Ctl::picMain, "picMain", K::Surface, At(0, 184, 350, 325), kGrid, kDrag, {}},
    {Ctl::L0, "L(0)", K::Label, PanelRowRect(Ctl::L0), kPanelHeading, kNone, {}},
    {Ctl::L1, "L(1)", K::Label, PanelRowRect(Ctl::L1), kPanelText, kNone, {}},
    {Ctl::L2, "L(2)", K::Label, PanelRowRect(Ctl::L2), kPanelText, kNone, {}},
    {Ctl::L3, "L(3)", K::Label, PanelRowRect(Ctl::L3), kPanelText, kNone, {}},
    {Ctl::L4, "L(4)", K::Label, PanelRowRect(Ctl::L4), kPanelText, kNone, {}},
    {Ctl::L5, "L(5)", K::Label, PanelRowRect(Ctl::L5), kPanelText, kNone, {}},
    {Ctl::L6, "L(6)", K::Label, PanelRowRect(Ctl::L6), kPanelText, kNone, "人物性格"},
    {Ctl::L7, "L(7)", K::Label, PanelRowRect(Ctl::L7), kPanelText, kNone, {}},
    {Ctl::DayOff, "DayOff", K::Label, PanelRowRect(Ctl::DayOff), kPanelText, kNone, {}},
    {Ctl::Almanac, "Almanac", K::Label, PanelRowRect(Ctl::Almanac), kPanelNote, kDrag, {}},
    {Ctl::Text1, "Text1", K::TextBox, PanelRowRect(Ctl::Text1), kPanelText, kNone, "Text1"},
    {Ctl::Label3, "Label3", K::Label, At(488, 280, 40, 16), kPanelText, kNone, {}},
    {Ctl::adbox, "adbox", K::Placeholder, At(357, 267, 240, 235), kPanelText, kNone, {}},
    {Ctl::List1, "List1", K::List, At(50, 178, 80, 200), kList, kNone, {}},
    {Ctl::List2, "List2", K::List, At(120, 178, 50, 200), kList, kNone, {}},
}};

static_assert(ui::DesignInOrder(kDesign), "element table must follow the order of Ctl");

constexpr int kCloseButtonInset = Tw(16);  // from the client's right edge
constexpr int kLine = Tw(1);               // frame line thickness
constexpr int kPicMainTop = Tw(184);

// Pictures that the window background resets to their normal look.
constexpr std::array<Ctl, 7> kBackgroundResets = {Ctl::I1,       Ctl::c1,       Ctl::Image2_0,
                                                  Ctl::Image2_1, Ctl::Image2_2, Ctl::Image2_3,
                                                  Ctl::Image2_4};

void SetLook(ElementSet& elements, Ctl id, Look look) { elements.SetLook(Index(id), look); }

}  // namespace

ElementSet DesignedElements() {
    std::vector<Element> elements = ui::DesignedElements(kDesign);
    // Hidden until the user opens them, or until their feature exists; the
    // collapse button comes with the day panel.
    for (Ctl id : {Ctl::List1, Ctl::List2, Ctl::text2, Ctl::Combo3, Ctl::adbox, Ctl::I11})
        elements[Index(id)].visible = false;
    return ElementSet(std::move(elements));
}

void LayOut(ElementSet& e, int clientWidth, int clientHeight, bool panelOpen) {
    const int w = std::max(clientWidth, 0);
    const int h = std::max(clientHeight, 0);
    const auto place = [&e](Ctl id, Rect r) { e.SetRect(Index(id), r); };
    const auto designed = [](Ctl id) { return kDesign[Index(id)].rect; };

    // The rest sit where they were designed.
    for (const ElementDesign& d : kDesign) {
        if (d.kind != ElementKind::FrameLine) place(d.id, d.rect);
    }
    place(Ctl::picMain, Rect{kPicMainLeft, kPicMainTop, kPicMainWidth, std::max(h - kPicMainTop - kPicMainBottomGap, 0)});
    place(Ctl::P4, Rect{kLine, 0, kPicMainWidth, kLine});
    place(Ctl::P1, Rect{0, kLine, kLine, h});
    place(Ctl::P2, Rect{w - kLine, kLine, kLine, h});
    place(Ctl::P5, Rect{kPicMainWidth, kLine, kLine, std::max(h - 2 * kLine, 0)});
    place(Ctl::P3, Rect{kLine, h - kLine, kPicMainWidth, kLine});

    place(Ctl::Image1, Rect{0, 0, std::min(w, kCalendarPartWidth), h});
    place(Ctl::Image6, Rect{kCalendarPartWidth, 0, std::max(w - kCalendarPartWidth, 0), h});
    Rect collapse = designed(Ctl::I11);
    collapse.left = w - kCloseButtonInset;
    place(Ctl::I11, collapse);
    e.SetVisible(Index(Ctl::I11), panelOpen);

    Rect list1 = designed(Ctl::List1), list2 = designed(Ctl::List2);
    list1.left = designed(Ctl::Label5).left;
    list2.left = designed(Ctl::Label7).left;
    place(Ctl::List1, list1);
    place(Ctl::List2, list2);
}

void ApplyHover(ElementSet& elements, std::optional<Ctl> over) {
    if (!over) {
        for (Ctl id : kBackgroundResets) SetLook(elements, id, Look::Normal);
        return;
    }
    switch (*over) {
        case Ctl::I1:
        case Ctl::I11:
        case Ctl::c1:
        case Ctl::Image7:
        case Ctl::Image2_4:
            SetLook(elements, *over, Look::Hover);
            break;
        case Ctl::Image2_0:
        case Ctl::Image2_1:
        case Ctl::Image2_2:
        case Ctl::Image2_3:
            for (int i = 0; i < 4; ++i) SetLook(elements, Image2(i), Look::Normal);
            SetLook(elements, *over, Look::Hover);
            break;
        case Ctl::Image1:
            for (Ctl id : kBackgroundResets) SetLook(elements, id, Look::Normal);
            SetLook(elements, Ctl::Image7, Look::Normal);
            break;
        case Ctl::Image6:
        case Ctl::Almanac:  // on the panel's skin beside the collapse button
            SetLook(elements, Ctl::I11, Look::Normal);
            break;
        default:
            break;  // labels, the grid and the rest have no hover rule
    }
}

void ClearHover(ElementSet& elements) {
    for (size_t i = 0; i < elements.size(); ++i) elements.SetLook(i, Look::Normal);
}

WindowRect StartPlacement(int screenWidth, int screenHeight) {
    WindowRect rect;
    rect.height = kDesignedWindowHeight;
    rect.width = kWindowWidthNarrow;
    rect.top = std::max(screenHeight - rect.height - kScreenBottomGap, 0);
    rect.left = std::max(screenWidth - rect.width - kScreenRightGap, 0);
    return rect;
}

WindowRect WidenedRect(WindowRect rect, int screenWidth) {
    rect.width = kWindowWidthWide;
    rect.left = std::max(screenWidth - kWindowWidthWide - kScreenRightGap, 0);
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
