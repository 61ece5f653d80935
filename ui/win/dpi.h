// The DPI a window is shown at. Per-monitor where the system knows it
// (Windows 10 and later), the system DPI otherwise.
#pragma once

#include <windows.h>

#include "ui/units.h"

namespace torvane::ui::win {

Dpi SystemDpi();
Dpi WindowDpi(HWND hwnd);

}  // namespace torvane::ui::win
