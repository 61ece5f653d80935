// Shell helpers shared by the programs.
#pragma once

#include <windows.h>

#include <string>

namespace torvane::win {

// Opens an address with the shell's "open" verb; the outcome is not reported
// (a machine without a browser simply shows nothing).
void OpenWebPage(HWND owner, const std::wstring& address);

}  // namespace torvane::win
