#include "common/win/file_replace.h"

namespace torvane::win {

namespace {

constexpr int kNameAttempts = 16;
constexpr int kMoveAttempts = 5;
constexpr DWORD kMoveRetryMs = 50;

// Where the folder part of `target` ends: after its last separator or drive
// colon, or 0.
std::size_t NameStart(std::wstring_view target)
{
    const std::size_t separator = target.find_last_of(L"\\/:");
    return separator == std::wstring_view::npos ? 0 : separator + 1;
}

std::wstring TemporaryName(std::wstring_view target, int attempt)
{
    static LONG counter = 0;
    const std::size_t nameStart = NameStart(target);
    return std::wstring(target.substr(0, nameStart)) + L"~" +
           std::wstring(target.substr(nameStart)) + L"." +
           std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(InterlockedIncrement(&counter)) + L"." + std::to_wstring(attempt) +
           L".tmp";
}

}  // namespace

FileBeside CreateFileBeside(std::wstring_view target, DWORD attributes, DWORD share)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        FileBeside file{TemporaryName(target, attempt), INVALID_HANDLE_VALUE};
        file.handle = CreateFileW(file.path.c_str(), GENERIC_WRITE, share, nullptr, CREATE_NEW,
                                  attributes, nullptr);
        if (file.handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return {};
}

bool MoveOver(const std::wstring& from, const std::wstring& to)
{
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        Sleep(kMoveRetryMs);
    }
    return false;
}

}  // namespace torvane::win
