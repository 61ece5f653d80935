// Paints the main window's model with GDI (text, fills) and GDI+ (the
// anti-aliased button glyphs). Decides nothing: every text, colour, place
// and state comes from the model.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "calendar/frm_main.h"

namespace torvane::calendar::win {

class FontCache {
public:
    explicit FontCache(int dpi) : dpi_(dpi) {}
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    HFONT Get(int centiPt, bool bold);
    int dpi() const { return dpi_; }

private:
    int dpi_;
    std::map<std::pair<int, bool>, HFONT> fonts_;
};

COLORREF ToColorRef(Rgb c);

// The whole client area into `dc` (a memory bitmap of the client's size).
void PaintWindow(HDC dc, const FrmMain& model, FontCache& fonts);

// Text height of the sample "星期" in the grid font, for the hit test.
int MeasureHeaderHeight(HDC dc, FontCache& fonts);

}  // namespace torvane::calendar::win
