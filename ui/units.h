// Models measure in twips (1/1440 inch), the unit the windows were designed
// in. This is the one place that turns twips into device pixels for a DPI,
// so a model and its window always agree on every pixel.
#pragma once

#include "ui/geometry.h"

namespace torvane::ui {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDesignDpi = 96;
inline constexpr int kTwipsPerDesignPixel = kTwipsPerInch / kDesignDpi;  // 15

// A length drawn in pixels at 96 DPI, in twips.
constexpr int Tw(int designPixels) { return designPixels * kTwipsPerDesignPixel; }

class Dpi {
public:
    constexpr Dpi() = default;
    // Anything below 1 is taken as the design DPI.
    constexpr explicit Dpi(int dotsPerInch) : value_(dotsPerInch > 0 ? dotsPerInch : kDesignDpi) {}

    constexpr int value() const { return value_; }

    // Nearest pixel, halves away from zero.
    constexpr int Px(int twips) const { return RoundDiv(int64_t{twips} * value_, kTwipsPerInch); }
    constexpr int Twips(int pixels) const { return RoundDiv(int64_t{pixels} * kTwipsPerInch, value_); }
    // Edges are converted, not sizes, so neighbours stay neighbours.
    constexpr Rect Px(const Rect& twips) const {
        const int l = Px(twips.left), t = Px(twips.top);
        return Rect{l, t, Px(twips.right()) - l, Px(twips.bottom()) - t};
    }
    constexpr Rect Twips(const Rect& pixels) const {
        const int l = Twips(pixels.left), t = Twips(pixels.top);
        return Rect{l, t, Twips(pixels.right()) - l, Twips(pixels.bottom()) - t};
    }
    // A length drawn in pixels at 96 DPI, at this DPI.
    constexpr int Scale(int designPixels) const { return Px(Tw(designPixels)); }

    friend constexpr bool operator==(const Dpi&, const Dpi&) = default;

private:
    static constexpr int RoundDiv(int64_t n, int64_t d) {
        const int64_t half = d / 2;
        return static_cast<int>(n >= 0 ? (n + half) / d : -((-n + half) / d));
    }

    int value_ = kDesignDpi;
};

}  // namespace torvane::ui
