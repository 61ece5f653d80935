// The one window of the small helper programs: it exists so the program is a
// windowed program like the rest of the suite, and it is never seen.
#pragma once

#include <windows.h>

namespace torvane::win {

// Creates a top-level window of a new class: zero-sized, left hidden and made
// fully transparent (layered, alpha 0), a tool window without a taskbar
// button. Its procedure ends the message loop when the window is destroyed.
// Returns null on failure.
HWND CreateTransparentWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* caption);

// Adds the layered style and sets alpha 0.
void MakeWindowTransparent(HWND window);

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace torvane::win
