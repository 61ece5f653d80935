// Files that replace another in one step: written under a name of their own
// beside the target, then moved over it. A reader, a crash or a failed
// transfer sees the old file or the new one, never a mix or a cut file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace torvane::win {

struct FileBeside {
    std::wstring path;
    HANDLE handle = INVALID_HANDLE_VALUE;  // open for writing; the caller closes it
};

// A new, empty file in the folder of `target`, under a name no other file,
// process or call uses. `handle` stays INVALID_HANDLE_VALUE when it cannot
// be made.
FileBeside CreateFileBeside(std::wstring_view target, DWORD attributes, DWORD share);

// Moves `from` over `to` in one step, retrying a moment while another
// program (a virus scanner, an indexer) holds `to` open.
bool MoveOver(const std::wstring& from, const std::wstring& to);

}  // namespace torvane::win
