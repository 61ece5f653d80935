// A drawing as a list of operations in a surface's own pixels (origin top
// left). The Win32 view replays them with GDI in order; the tests read them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace torvane::ui {

enum class DrawKind : uint8_t {
    Clear,     // whole surface in `color`
    FillRect,  // (x1, y1) to (x2, y2), right and bottom edges excluded
    Line,      // (x1, y1) to (x2, y2), 1 pixel
    Text,      // `text` with its top left corner at (x1, y1)
    Bitmap,    // the `source` part of bitmap `bitmap` stretched to (x1, y1) to (x2, y2)
};

struct DrawOp {
    DrawKind kind = DrawKind::Clear;
    Rgb color;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string text;
    bool bold = false;
    int fontCentiPt = 0;
    uint16_t bitmap = 0;  // which bitmap: the view that plays the list knows them
    Rect source = {};     // pixels of the bitmap
};

using DrawList = std::vector<DrawOp>;

}  // namespace torvane::ui
