#include "update/progress_bar.h"

#include <algorithm>
#include <cmath>

namespace torvane::update {

namespace {

using ui::DrawKind;
using ui::DrawOp;
using ui::Rect;

// One copy of a part of a picture, stretched to a part of the surface. A
// copy of nothing, or onto nothing, is left out.
void Copy(ui::DrawList& list, ProgressPicture picture, Rect from, Rect to) {
    if (from.empty() || to.empty()) return;
    DrawOp op;
    op.kind = DrawKind::Bitmap;
    op.bitmap = static_cast<uint16_t>(picture);
    op.source = from;
    op.x1 = to.left;
    op.y1 = to.top;
    op.x2 = to.right();
    op.y2 = to.bottom();
    list.push_back(std::move(op));
}

void DrawTrack(ui::DrawList& list, const ProgressSkin& skin, int w, int h) {
    const int b = skin.border, tw = skin.trackSize.width, th = skin.trackSize.height;
    const ProgressPicture p = skin.track;
    // Corners as they are.
    Copy(list, p, {0, 0, b, b}, {0, 0, b, b});
    Copy(list, p, {tw - b, 0, b, b}, {w - b, 0, b, b});
    Copy(list, p, {0, th - b, b, b}, {0, h - b, b, b});
    Copy(list, p, {tw - b, th - b, b, b}, {w - b, h - b, b, b});
    // Edges stretched along their length, the centre both ways.
    Copy(list, p, {b, 0, tw - 2 * b, b}, {b, 0, w - 2 * b, b});
    Copy(list, p, {b, th - b, tw - 2 * b, b}, {b, h - b, w - 2 * b, b});
    Copy(list, p, {0, b, b, th - 2 * b}, {0, b, b, h - 2 * b});
    Copy(list, p, {tw - b, b, b, th - 2 * b}, {w - b, b, b, h - 2 * b});
    Copy(list, p, {b, b, tw - 2 * b, th - 2 * b}, {b, b, w - 2 * b, h - 2 * b});
}

void DrawFill(ui::DrawList& list, const ProgressSkin& skin, int fill, int h) {
    const int b = skin.border, fw = skin.fillSize.width, fh = skin.fillSize.height;
    const ProgressPicture p = skin.fill;
    if (!skin.capped) {
        Copy(list, p, {0, 0, fw, fh}, {b, b, fill, h - 2 * b});
        return;
    }
    if (fill < fw) {
        // Too short for both caps: the fill's left part, stretched only in height.
        Copy(list, p, {0, 0, fill, fh}, {b, b, fill, h - 2 * b});
        return;
    }
    const int c = kCapWidth;
    Copy(list, p, {0, 0, c, fh}, {b, b, c, h - 2 * b});
    Copy(list, p, {c, 0, fw - 2 * c, fh}, {b + c, b, fill - 2 * c, h - 2 * b});
    Copy(list, p, {fw - c, 0, c, fh}, {b + fill - c, b, c, h - 2 * b});
}

}  // namespace

float ClampProgress(float value) {
    if (!(value >= 0.0f)) return 0.0f;
    return std::min(value, 100.0f);
}

ui::DrawList DrawProgress(float value, const ProgressSkin& skin, int width, int height) {
    ui::DrawList list;
    const int b = skin.border;
    const int fill = static_cast<int>(std::trunc((width - 2 * b) * ClampProgress(value) / 100.0f));
    DrawTrack(list, skin, width, height);
    DrawFill(list, skin, fill, height);
    return list;
}

void ProgressBar::SetValue(float value) {
    value_ = ClampProgress(value);
    Redraw();
}

void ProgressBar::SetStyle(int32_t style) {
    style_ = style;
    Redraw();
}

PictureSize ProgressBar::SnapSize(int widthTwips, int heightTwips) {
    return {std::max(widthTwips, kProgressMinWidth), std::max(heightTwips, kProgressMinHeight)};
}

void ProgressBar::SetSurface(int widthPx, int heightPx) {
    width_ = widthPx;
    height_ = heightPx;
    Redraw();
}

void ProgressBar::Redraw() {
    if (style_ < 0 || style_ >= static_cast<int32_t>(kProgressSkins.size())) return;
    drawing_ = DrawProgress(value_, kProgressSkins[static_cast<size_t>(style_)], width_, height_);
}

}  // namespace torvane::update
