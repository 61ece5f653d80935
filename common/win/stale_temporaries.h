// Removes the temporary files an ended run of the suite left in a folder (a
// program ended during a download, by halter or the calendar's exit item).
#pragma once

#include <string>

namespace torvane::win {

// Files of the suite's temporary naming whose process no longer runs.
void RemoveStaleTemporaries(const std::wstring& folder);

}  // namespace torvane::win
