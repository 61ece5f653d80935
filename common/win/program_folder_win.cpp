#include <windows.h>

#include <string>

#include "common/program_folder.h"
#include "common/win/wide_text.h"

namespace torvane {
namespace {

// Long paths (\\?\ form) may exceed MAX_PATH; the buffer grows up to this.
constexpr DWORD kMaxModulePath = 32768;
constexpr DWORD kFirstBufferSize = MAX_PATH;

std::wstring ExecutablePath()
{
    std::wstring buffer;
    for (DWORD size = kFirstBufferSize; size <= kMaxModulePath; size *= 2) {
        buffer.assign(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            break;
        }
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
    }
    return {};
}

// Without a trailing separator, except at a root ("C:\", "\\?\C:\"), which
// would name the drive's current folder without it.
std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return {};
    }
    const bool root = separator == 0 || path[separator - 1] == L':';
    return path.substr(0, root ? separator + 1 : separator);
}

std::wstring CurrentFolder()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring buffer(size, L'\0');
    const DWORD length = size ? GetCurrentDirectoryW(size, buffer.data()) : 0;
    buffer.resize(length < size ? length : 0);
    return buffer;
}

}  // namespace

std::string ProgramFolder()
{
    std::wstring folder = FolderOf(ExecutablePath());
    if (folder.empty()) {
        folder = CurrentFolder();
    }
    return WideToUtf8(folder);
}

}  // namespace torvane
