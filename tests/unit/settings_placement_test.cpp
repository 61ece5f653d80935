// Where the settings dialog opens beside the main window, on the work area.
#include <gtest/gtest.h>

#include "settings/settings_dialog_layout.h"

namespace torvane::settings {
namespace {

constexpr int kNarrow = 5280, kWide = 9024, kHeight = 7785;
const Rect kScreen{0, 0, 1920 * 15, 1040 * 15};  // a 1920 x 1080 work area in twips

TEST(SettingsPlacement, BesideTheMainWindowAndAlwaysOnTheWorkArea) {
    struct Case {
        const char* what;
        Rect main, work;
        int left, top;
    };
    const Case cases[] = {
        // The narrow window: the dialog's right edge 10 twips right of its left edge.
        {"narrow", {23320, 7775, kNarrow, kHeight}, kScreen, 23320 + 10 - kSzWidth, 7775},
        {"wide", {19576, 7775, kWide, kHeight}, kScreen, 19576 - kWide - kSzGapLeft, 7775},
        // Dragged to the left edge: no room on the left, so it opens on the right.
        {"at the left edge", {0, 7775, kNarrow, kHeight}, kScreen, kNarrow - 10, 7775},
        // Room on neither side: the work area's right edge.
        {"small screen", {3000, 0, kNarrow, kHeight}, Rect{0, 0, 9000, 7800}, 9000 - kSzWidth, 0},
        // Just fits beside a task bar on the left; a top above the screen comes down.
        {"task bar on the left", {900 + kSzWidth - 10, -900, kNarrow, kHeight}, Rect{900, 0, 28000, 15600}, 900, 0},
        // A second monitor left of the primary one has negative coordinates.
        {"monitor on the left", {-9000, 100, kNarrow, kHeight}, Rect{-28800, 0, 28800, 15600}, -9000 - kNarrow - kSzGapLeft, 100},
        // A work area smaller than the dialog: its top left corner shows.
        {"tiny", {1000, 1000, kNarrow, kHeight}, Rect{0, 0, 3000, 3000}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Rect r = SzPlacement(c.main, c.work);
        EXPECT_EQ(r, (Rect{c.left, c.top, kSzWidth, kSzHeight}));
    }
}

}  // namespace
}  // namespace torvane::settings
