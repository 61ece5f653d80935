// Plain values every window and control draws with: colours, points and
// rectangles. Rectangles are half-open: right and bottom edges excluded.
#pragma once

#include <algorithm>
#include <cstdint>

namespace torvane::ui {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

struct Point {
    int x = 0, y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    constexpr bool empty() const { return width <= 0 || height <= 0; }
    constexpr bool Contains(Point p) const {
        return p.x >= left && p.y >= top && p.x < right() && p.y < bottom();
    }
    constexpr bool Intersects(const Rect& o) const {
        return !empty() && !o.empty() && left < o.right() && o.left < right() && top < o.bottom() &&
               o.top < bottom();
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace torvane::ui
