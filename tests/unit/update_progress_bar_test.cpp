// ProgressBar: the value's clamp, the nine-piece track, the three fill rules
// and the smallest size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "update/progress_bar.h"

namespace torvane::update {
namespace {

using ui::DrawKind;
using ui::DrawOp;
using ui::Rect;

// The copies of one picture, in drawing order.
std::vector<DrawOp> CopiesOf(const ui::DrawList& list, ProgressPicture picture) {
    std::vector<DrawOp> copies;
    for (const DrawOp& op : list) {
        EXPECT_EQ(op.kind, DrawKind::Bitmap);
        if (op.bitmap == static_cast<uint16_t>(picture)) copies.push_back(op);
    }
    return copies;
}

Rect Target(const DrawOp& op) { return {op.x1, op.y1, op.x2 - op.x1, op.y2 - op.y1}; }

TEST(ProgressBar, ValueIsClampedToZeroToHundred) {
    ProgressBar bar;
    bar.SetValue(150);
    EXPECT_EQ(bar.Value(), 100);
    bar.SetValue(-5);
    EXPECT_EQ(bar.Value(), 0);
    bar.SetValue(std::nanf(""));
    EXPECT_EQ(bar.Value(), 0);
    bar.SetValue(42.5f);
    EXPECT_EQ(bar.Value(), 42.5f);
}

TEST(ProgressBar, SmallerThanNineHundredByOneEightyTwipsSnapsBack) {
    const PictureSize snapped = ProgressBar::SnapSize(300, 100);
    EXPECT_EQ(snapped.width, 900);
    EXPECT_EQ(snapped.height, 180);
    EXPECT_EQ(ProgressBar::SnapSize(3135, 255).width, 3135);
}

TEST(ProgressBar, TrackCornersStayAndItsMiddleCoversTheSurface) {
    for (const ProgressSkin& skin : kProgressSkins) {
        SCOPED_TRACE(static_cast<int>(skin.track));
        const int b = skin.border;
        const std::vector<DrawOp> track = CopiesOf(DrawProgress(0, skin, 209, 17), skin.track);
        ASSERT_EQ(track.size(), 9u);
        // Each corner of the picture lands, unstretched, on the same corner of the bar.
        const int tw = skin.trackSize.width, th = skin.trackSize.height;
        const struct { Rect source, target; } corners[] = {
            {{0, 0, b, b}, {0, 0, b, b}},
            {{tw - b, 0, b, b}, {209 - b, 0, b, b}},
            {{0, th - b, b, b}, {0, 17 - b, b, b}},
            {{tw - b, th - b, b, b}, {209 - b, 17 - b, b, b}},
        };
        for (const auto& corner : corners) {
            const auto drawn = std::find_if(track.begin(), track.begin() + 4,
                                            [&](const DrawOp& op) { return op.source == corner.source; });
            ASSERT_NE(drawn, track.begin() + 4) << "corner from " << corner.source.left << "," << corner.source.top;
            EXPECT_EQ(Target(*drawn), corner.target);
        }
        EXPECT_EQ(Target(track[8]), (Rect{b, b, 209 - 2 * b, 17 - 2 * b}));
    }
}

TEST(ProgressBar, OnlyAHundredPercentFillsTheTrack) {
    for (const ProgressSkin& skin : kProgressSkins) {
        SCOPED_TRACE(static_cast<int>(skin.track));
        const int inner = 209 - 2 * skin.border;
        // How far the fill reaches: the right edge of its last copy.
        const auto reach = [&](float value) {
            const std::vector<DrawOp> fill = CopiesOf(DrawProgress(value, skin, 209, 17), skin.fill);
            return fill.empty() ? skin.border : fill.back().x2;
        };
        EXPECT_EQ(reach(100), skin.border + inner);
        EXPECT_LT(reach(99.9f), reach(100)) << "99.9 % is not done";
        EXPECT_EQ(reach(0), skin.border);
    }
}

TEST(ProgressBar, HalfOfTheSmallestBarFillsTwentyEightPixelsFromTheBorder) {
    ProgressBar bar;
    bar.SetSurface(60, 12);  // 900 x 180 twips at 96 DPI
    bar.SetValue(50);
    const std::vector<DrawOp> fill = CopiesOf(bar.drawing(), ProgressPicture::Picture2);
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(Target(fill[0]), (Rect{2, 2, 28, 8}));
    EXPECT_EQ(fill[0].source, (Rect{0, 0, 3, 10}));  // the whole fill picture
}

TEST(ProgressBar, StyleTwoShowsShortFillsUnstretchedAndLongOnesWithCaps) {
    ProgressBar bar;
    bar.SetStyle(2);
    bar.SetSurface(209, 17);
    bar.SetValue(5);  // 10 pixels, shorter than the 13-pixel fill picture
    std::vector<DrawOp> fill = CopiesOf(bar.drawing(), ProgressPicture::Picture6);
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(fill[0].source, (Rect{0, 0, 10, 13}));
    EXPECT_EQ(Target(fill[0]), (Rect{2, 2, 10, 13}));

    bar.SetValue(100);  // 205 pixels
    fill = CopiesOf(bar.drawing(), ProgressPicture::Picture6);
    ASSERT_EQ(fill.size(), 3u);
    EXPECT_EQ(fill[0].source, (Rect{0, 0, 4, 13}));
    EXPECT_EQ(Target(fill[0]), (Rect{2, 2, 4, 13}));
    EXPECT_EQ(Target(fill[1]), (Rect{6, 2, 205 - 8, 13}));
    EXPECT_EQ(fill[2].source, (Rect{9, 0, 4, 13}));
    EXPECT_EQ(Target(fill[2]).right(), 2 + 205);
}

TEST(ProgressBar, AStyleOutsideTheSkinsKeepsTheLastDrawing) {
    ProgressBar bar;
    bar.SetSurface(209, 17);
    bar.SetValue(30);
    const ui::DrawList before = bar.drawing();
    bar.SetStyle(7);
    bar.SetValue(90);
    EXPECT_EQ(CopiesOf(bar.drawing(), ProgressPicture::Picture2).size(), 1u);
    EXPECT_EQ(Target(CopiesOf(bar.drawing(), ProgressPicture::Picture2)[0]),
              Target(CopiesOf(before, ProgressPicture::Picture2)[0]));
}

}  // namespace
}  // namespace torvane::update
