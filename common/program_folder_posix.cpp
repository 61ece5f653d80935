#ifndef _WIN32

#include <system_error>

#include "common/program_folder.h"

namespace torvane {

std::filesystem::path ProgramFolder()
{
    std::error_code error;
    const std::filesystem::path executable =
        std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && executable.has_parent_path()) {
        return executable.parent_path();
    }
    return std::filesystem::current_path(error);
}

}  // namespace torvane

#endif  // !_WIN32
