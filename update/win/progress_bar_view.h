// The progress bar's skins on Win32: the eight bitmaps, loaded once from the
// program's resources, for the painter to copy with StretchBlt.
#pragma once

#include <windows.h>

#include <array>

#include "common/win/unique.h"
#include "ui/win/painter.h"
#include "update/progress_bar.h"

namespace torvane::update::win {

class ProgressSkins {
public:
    explicit ProgressSkins(HINSTANCE instance);

    // The bitmap of a picture of the bar's draw list, or null.
    HBITMAP Get(uint16_t picture) const;
    ui::win::BitmapSource Source() const {
        return [this](uint16_t picture) { return Get(picture); };
    }

private:
    std::array<torvane::win::UniqueBitmap, 8> bitmaps_;
};

}  // namespace torvane::update::win
