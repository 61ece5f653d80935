// ProgressBar: a value from 0 to 100 shown as a skinned bar. Each of the
// four skins is a track picture stretched over the control with fixed
// corners and a fill picture stretched over the filled part. The model draws
// into a list of picture copies in the surface's pixels; the view plays it.
#pragma once

#include <array>
#include <cstdint>

#include "ui/draw_list.h"

namespace torvane::update {

// The skins' pictures, as the draw list names them.
enum class ProgressPicture : uint16_t {
    Picture1 = 1, Picture2, Picture3, Picture4, Picture5, Picture6, Picture7, Picture8,
};

struct PictureSize {
    int width = 0, height = 0;
};

struct ProgressSkin {
    ProgressPicture track;
    PictureSize trackSize;
    ProgressPicture fill;
    PictureSize fillSize;
    int border = 0;       // pixels of the track kept unstretched at each edge
    bool capped = false;  // the fill's 4-pixel ends are never stretched
};

inline constexpr std::array<ProgressSkin, 4> kProgressSkins = {{
    {ProgressPicture::Picture1, {7, 14}, ProgressPicture::Picture2, {3, 10}, 2, false},
    {ProgressPicture::Picture3, {21, 21}, ProgressPicture::Picture4, {17, 17}, 2, false},
    {ProgressPicture::Picture5, {11, 15}, ProgressPicture::Picture6, {13, 13}, 2, true},
    {ProgressPicture::Picture7, {13, 18}, ProgressPicture::Picture8, {124, 10}, 3, false},
}};
inline constexpr int kCapWidth = 4;

// The smallest control, in twips.
inline constexpr int kProgressMinWidth = 900;
inline constexpr int kProgressMinHeight = 180;

// Above 100 is 100; anything not at least 0 (negative, not a number) is 0.
float ClampProgress(float value);

// `value` drawn with `skin` on a surface of `width` x `height` pixels: the
// nine pieces of the track, then the fill.
ui::DrawList DrawProgress(float value, const ProgressSkin& skin, int width, int height);

class ProgressBar {
public:
    float Value() const { return value_; }
    void SetValue(float value);
    uint32_t ForeColor() const { return foreColor_; }
    void SetForeColor(uint32_t color) { foreColor_ = color; }
    int32_t Style() const { return style_; }
    // A style outside 0..3 draws nothing: the surface keeps its last drawing.
    void SetStyle(int32_t style);
    // The control draws no caption of its own: its window shows the
    // percentage in a label. Kept for the control's users all the same.
    bool Percentage() const { return percentage_; }
    void SetPercentage(bool on) { percentage_ = on; }

    // The control's size in twips, snapped up to the smallest size.
    static PictureSize SnapSize(int widthTwips, int heightTwips);
    // The surface's size in device pixels; redraws.
    void SetSurface(int widthPx, int heightPx);
    const ui::DrawList& drawing() const { return drawing_; }

private:
    void Redraw();

    float value_ = 0;
    uint32_t foreColor_ = 0;
    int32_t style_ = 0;
    bool percentage_ = true;
    int width_ = 0, height_ = 0;
    ui::DrawList drawing_;
};

}  // namespace torvane::update
