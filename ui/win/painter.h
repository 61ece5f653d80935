// Paints a window's elements with GDI (text, fills) and GDI+ (anti-aliased
// button glyphs, the skin's tint) through a back buffer. Decides nothing:
// every text, colour, place and state comes from the elements.
#pragma once

#include <windows.h>

#include <functional>

#include "common/win/unique.h"
#include "ui/draw_list.h"
#include "ui/element.h"
#include "ui/win/font_cache.h"
#include "ui/win/picture_cache.h"

namespace torvane::ui::win {

// The draw list of a surface element, or null.
using SurfaceSource = std::function<const DrawList*(uint16_t id)>;
// The bitmap a draw list's bitmap copies name, or null (nothing is drawn).
using BitmapSource = std::function<HBITMAP(uint16_t bitmap)>;

// A memory bitmap of the client's size, kept between paints.
class BackBuffer {
public:
    HDC Get(HDC reference, int width, int height);

private:
    torvane::win::UniqueMemoryDC dc_;
    torvane::win::UniqueBitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    int width_ = 0, height_ = 0;
};

// Answers WM_PAINT: paints the elements that meet the invalid part of the
// client into the back buffer and copies that part to the screen, leaving
// the real controls to paint themselves.
// Pictures come from `pictures`, the bitmaps of surfaces' draw lists from
// `bitmaps`; without them they are left out.
void PaintWindow(HWND hwnd, const ElementSet& elements, const Dpi& dpi, FontCache& fonts,
                 BackBuffer& buffer, const SurfaceSource& surfaces, PictureCache* pictures = nullptr,
                 const BitmapSource& bitmaps = {});

// Height in pixels of a sample text in a font of the house face.
int MeasureTextHeight(HDC dc, FontCache& fonts, int centiPt, const wchar_t* sample);

}  // namespace torvane::ui::win
