// The press model every window's model shares: what a press does on each kind
// of element, which release clicks, and the drag flag around the move loop.
#include <gtest/gtest.h>

#include <vector>

#include "ui/press.h"

namespace torvane::ui {
namespace {

enum Id : uint16_t { kSkin, kLabel, kTitle, kButton, kPlain, kHidden, kCount };

// Side by side, 10 pixels wide each at 96 dpi, over a skin 100 pixels wide.
ElementSet Window() {
    const uint8_t traits[kCount] = {kDragsWindow, kClickable, kDragsWindow | kClickable, kActsOnPress | kClickable,
                                    kNoTrait, kClickable};
    std::vector<Element> elements(kCount);
    for (uint16_t i = 0; i < kCount; ++i) {
        elements[i].id = i;
        elements[i].traits = traits[i];
        elements[i].rect = i == kSkin ? Rect{0, 0, Tw(100), Tw(10)} : Rect{Tw(10 * i), 0, Tw(10), Tw(10)};
    }
    elements[kHidden].visible = false;
    return ElementSet(std::move(elements));
}

Point On(uint16_t id) { return Point{10 * id + 5, 5}; }
constexpr Point kOutside{500, 500};

TEST(PressModel, APressDoesWhatTheElementUnderThePointerSays) {
    const ElementSet elements = Window();
    struct Case {
        const char* what;
        Point at;
        bool primary;
        std::optional<uint16_t> over;
        PressAction action;
        bool clickIfStill;
    };
    const Case cases[] = {
        {"clickable label, left", On(kLabel), true, kLabel, PressAction::Hold, false},
        {"clickable label, right", On(kLabel), false, kLabel, PressAction::None, false},
        {"skin drags", On(kSkin), true, kSkin, PressAction::Drag, false},
        {"skin drags with any button", On(kSkin), false, kSkin, PressAction::Drag, false},
        {"clickable title drags, then clicks if still", On(kTitle), true, kTitle, PressAction::Drag, true},
        {"clickable title, right button: no click", On(kTitle), false, kTitle, PressAction::Drag, false},
        {"acts on press, left", On(kButton), true, kButton, PressAction::Act, false},
        {"acts on press, right", On(kButton), false, kButton, PressAction::Act, false},
        {"an element without traits", On(kPlain), true, kPlain, PressAction::None, false},
        {"a hidden element: the skin behind it", On(kHidden), true, kSkin, PressAction::Drag, false},
        {"outside every element", kOutside, true, std::nullopt, PressAction::None, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PressModel presses;
        const Press press = presses.Down(elements, c.at, Dpi(), c.primary);
        EXPECT_EQ(press.over, c.over);
        EXPECT_EQ(press.action, c.action);
        EXPECT_EQ(press.clickIfStill, c.clickIfStill);
        EXPECT_EQ(presses.holding(), c.action == PressAction::Hold);
    }
}

TEST(PressModel, OnlyAReleaseOverTheHeldElementClicksIt) {
    const ElementSet elements = Window();
    struct Case {
        const char* what;
        Point down, up;
        bool primaryUp;
        std::optional<uint16_t> clicked;
    };
    const Case cases[] = {
        {"released where pressed", On(kLabel), On(kLabel), true, kLabel},
        {"released over another element", On(kLabel), On(kPlain), true, std::nullopt},
        {"released outside the window", On(kLabel), kOutside, true, std::nullopt},
        {"another button released", On(kLabel), On(kLabel), false, std::nullopt},
        {"a press that held nothing", On(kPlain), On(kPlain), true, std::nullopt},
        {"a drag never clicks at release", On(kTitle), On(kTitle), true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PressModel presses;
        presses.Down(elements, c.down, Dpi());
        EXPECT_EQ(presses.Up(elements, c.up, Dpi(), c.primaryUp), c.clicked);
        // A release ends the press: a second one clicks nothing.
        EXPECT_EQ(presses.Up(elements, c.up, Dpi()), std::nullopt);
    }
}

TEST(PressModel, ANewPressOrACancelForgetsTheHeldOne) {
    const ElementSet elements = Window();
    PressModel presses;
    presses.Down(elements, On(kLabel), Dpi());
    presses.Down(elements, On(kPlain), Dpi());
    EXPECT_EQ(presses.Up(elements, On(kLabel), Dpi()), std::nullopt);

    presses.Down(elements, On(kLabel), Dpi());
    presses.Cancel();
    EXPECT_EQ(presses.Up(elements, On(kLabel), Dpi()), std::nullopt);
}

TEST(PressModel, TheDragFlagLastsAsLongAsTheMoveLoop) {
    PressModel presses;
    bool seenInside = false;
    const int answer = presses.Drag([&] {
        seenInside = presses.dragging();
        return 7;
    });
    EXPECT_TRUE(seenInside);
    EXPECT_FALSE(presses.dragging());
    EXPECT_EQ(answer, 7);
}

TEST(PressModel, ElementAtNamesTheWindowsOwnId) {
    const ElementSet elements = Window();
    EXPECT_EQ(ElementAt<Id>(elements, On(kButton), Dpi()), kButton);
    EXPECT_EQ(ElementAt<Id>(elements, kOutside, Dpi()), std::nullopt);
}

}  // namespace
}  // namespace torvane::ui
