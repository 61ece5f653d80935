#include "ui/win/font_cache.h"

#include "common/win/wide_text.h"
#include "ui/element.h"

namespace torvane::ui::win {

namespace {
constexpr int kCentiPointsPerInch = 72 * 100;
}

HFONT FontCache::Get(int centiPt, bool bold, std::string_view face) {
    if (face.empty()) face = kFontFace;
    auto [it, added] = fonts_.try_emplace({std::string(face), centiPt, bold});
    if (added) {
        const int height = -MulDiv(centiPt, dpi_.value(), kCentiPointsPerInch);
        it->second.reset(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                     GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                     Utf8ToWide(face).c_str()));
    }
    return it->second.get();
}

void FontCache::SetDpi(Dpi dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    fonts_.clear();
}

COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

}  // namespace torvane::ui::win
