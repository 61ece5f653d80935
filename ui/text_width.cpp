#include "ui/text_width.h"

#include <cstdint>

namespace torvane::ui {

namespace {

constexpr int kCentiPointsPerInch = 72 * 100;
constexpr int kFullEm = 100;  // hundredths of an em

// Hundredths of an em an ASCII character may take, a little above what the
// house face and its usual stand-ins draw.
int AsciiWidth(char c) {
    if (c == ' ') return 35;
    if (c == 'M' || c == 'W' || c == 'm' || c == 'w' || c == '@' || c == '%') return 100;
    if (c >= 'A' && c <= 'Z') return 75;
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return 60;
    if (c == '[' || c == ']' || c == '(' || c == ')' || c == '\'' || c == '.' || c == ',' || c == ':' ||
        c == ';' || c == '!' || c == '|' || c == '-')
        return 45;
    return 70;
}

}  // namespace

int EmPixels(int fontCentiPt, const Dpi& dpi) {
    // MulDiv's rounding, as the view's font height.
    const int64_t n = int64_t{fontCentiPt} * dpi.value();
    return static_cast<int>((n + kCentiPointsPerInch / 2) / kCentiPointsPerInch);
}

int TextWidthBound(std::string_view utf8, int fontCentiPt, const Dpi& dpi, bool bold) {
    int64_t hundredths = 0;
    for (char c : utf8) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x80) {
            if (c != '\r' && c != '\n') hundredths += AsciiWidth(c);
        } else if (byte >= 0xC0) {
            hundredths += kFullEm;  // the lead byte of one character
        }
    }
    if (bold) hundredths += hundredths / 10;
    const int64_t scaled = hundredths * EmPixels(fontCentiPt, dpi);
    return static_cast<int>((scaled + kFullEm - 1) / kFullEm);
}

}  // namespace torvane::ui
