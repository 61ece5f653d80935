// GDI+ for the programs: its headers want the COM property types (left out by
// WIN32_LEAN_AND_MEAN) and unqualified min/max (left out by NOMINMAX).
#pragma once

#include <windows.h>

#include <objidl.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>

namespace torvane::win {

// GDI+ for the rest of the program's life, started by its first user (the
// first paint of a window that draws with it), so a program's start neither
// loads nor starts it before its window is shown. False when it could not
// start; then nothing may be drawn with it.
bool EnsureGdiplus();

}  // namespace torvane::win
