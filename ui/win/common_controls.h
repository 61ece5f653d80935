// The common controls (tooltips) are loaded when first needed rather than
// imported: loading them costs start-up time, and the manifest makes the
// loaded one version 6.
#pragma once

#include <windows.h>

namespace torvane::ui::win {

// comctl32 loaded with its window classes registered, or null. The caller
// frees the module once its last common control is gone.
HMODULE LoadCommonControls();

}  // namespace torvane::ui::win
