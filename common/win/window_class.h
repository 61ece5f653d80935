// Registers a window class once per program; a second call finds it and
// does nothing. Fields left empty in `wc` get the platform's defaults.
#pragma once

#include <windows.h>

namespace torvane::win {

inline void RegisterClassOnce(WNDCLASSEXW wc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return;
    wc.cbSize = sizeof wc;
    RegisterClassExW(&wc);
}

}  // namespace torvane::win
