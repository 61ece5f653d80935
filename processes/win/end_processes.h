// Ending the suite's programs by executable file name.
#pragma once

#include <string_view>

namespace torvane::win {

// Ends every running process whose executable file name (without folder)
// equals `name`, compared without regard to letter case; exit code 0. A name
// without ".exe" matches nothing. Processes that cannot be opened or ended
// are skipped silently. When the caller's own name matches, every other copy
// is ended first and the caller last, so the call then does not return.
void EndProcessesByName(std::wstring_view name);

}  // namespace torvane::win
