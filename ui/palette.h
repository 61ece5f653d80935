// The house's own look, shared by every window so the calendar, its dialog
// and the updater stay one family. Colours that carry meaning (a Sunday's
// red, a day off) belong to their window, not here.
#pragma once

#include "ui/geometry.h"

namespace torvane::ui::palette {

inline constexpr Rgb kSkin{248, 250, 252};
inline constexpr Rgb kSkinTint{224, 234, 255};  // the top of a skin's tint
inline constexpr Rgb kPanel{255, 255, 255};
inline constexpr Rgb kFrameLine{203, 213, 225};
inline constexpr Rgb kAccent{37, 99, 235};
inline constexpr Rgb kAccentHover{29, 78, 216};
inline constexpr Rgb kTextPrimary{15, 23, 42};
inline constexpr Rgb kTextSecondary{71, 85, 105};
inline constexpr Rgb kAlert{220, 38, 38};  // festivals, warnings, a close button under the pointer
inline constexpr Rgb kGlyph{100, 116, 139};

}  // namespace torvane::ui::palette
