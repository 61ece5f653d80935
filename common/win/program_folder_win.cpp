#include <windows.h>

#include <string>
#include <system_error>

#include "common/program_folder.h"

namespace torvane {
namespace {

// Long paths (\\?\ form) may exceed MAX_PATH; the buffer grows up to this.
constexpr DWORD kMaxModulePath = 32768;
constexpr DWORD kFirstBufferSize = MAX_PATH;

}  // namespace

std::filesystem::path ProgramFolder()
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
            const std::filesystem::path executable(buffer);
            if (executable.has_parent_path()) {
                return executable.parent_path();
            }
            break;
        }
    }
    std::error_code error;
    return std::filesystem::current_path(error);
}

}  // namespace torvane
