// Fonts by face, size and weight (the house face unless one is named), made
// once per DPI.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "common/win/unique.h"
#include "ui/units.h"

namespace torvane::ui::win {

class FontCache {
public:
    explicit FontCache(Dpi dpi) : dpi_(dpi) {}

    HFONT Get(int centiPt, bool bold, std::string_view face = {});
    Dpi dpi() const { return dpi_; }
    // A new DPI drops every font made for the old one.
    void SetDpi(Dpi dpi);

private:
    Dpi dpi_;
    std::map<std::tuple<std::string, int, bool>, torvane::win::UniqueFont> fonts_;
};

COLORREF ToColorRef(Rgb c);

}  // namespace torvane::ui::win
