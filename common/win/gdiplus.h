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
