// How wide a line of text can come out in the house face, worked out without
// a font: every character at the widest its class is drawn (CJK and other
// non-ASCII characters a full em, ASCII less). Models use it to give a
// text a place where it is never cut; the view still measures what it draws.
#pragma once

#include <string_view>

#include "ui/units.h"

namespace torvane::ui {

// The em of a font of this size at this DPI, in pixels, as the view makes it.
int EmPixels(int fontCentiPt, const Dpi& dpi);

// An upper bound of the width in pixels of `utf8` on one line in the house
// face at `fontCentiPt` and `dpi`; a bold face is taken a tenth wider.
int TextWidthBound(std::string_view utf8, int fontCentiPt, const Dpi& dpi, bool bold = false);

}  // namespace torvane::ui
