#include "common/win/stale_temporaries.h"

#include <windows.h>

#include "common/temporary_names.h"
#include "common/win/wide_text.h"

namespace torvane::win {
namespace {

// A process that cannot be looked at may be running: its file stays.
bool ProcessRuns(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool runs = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return runs;
}

}  // namespace

void RemoveStaleTemporaries(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\~*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::optional<std::uint32_t> owner = TemporaryFileOwner(WideToUtf8(found.cFileName));
        if (!owner || *owner == GetCurrentProcessId() || ProcessRuns(*owner)) continue;
        DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace torvane::win
