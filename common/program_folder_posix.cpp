#ifndef _WIN32

#include <cerrno>
#include <climits>
#include <string>
#include <unistd.h>

#include "common/program_folder.h"

namespace torvane {
namespace {

constexpr std::size_t kFirstBufferSize = PATH_MAX;
constexpr std::size_t kMaxPath = 1 << 16;

std::string ExecutablePath()
{
    std::string buffer;
    for (std::size_t size = kFirstBufferSize; size <= kMaxPath; size *= 2) {
        buffer.assign(size, '\0');
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), size);
        if (length < 0) {
            return {};
        }
        // readlink cuts a name that does not fit without saying so.
        if (static_cast<std::size_t>(length) < size) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
    }
    return {};
}

std::string CurrentFolder()
{
    std::string buffer;
    for (std::size_t size = kFirstBufferSize; size <= kMaxPath; size *= 2) {
        buffer.assign(size, '\0');
        if (::getcwd(buffer.data(), size) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE) {
            break;
        }
    }
    return {};
}

}  // namespace

std::string ProgramFolder()
{
    const std::string executable = ExecutablePath();
    const std::size_t slash = executable.rfind('/');
    if (slash != std::string::npos) {
        return executable.substr(0, slash == 0 ? 1 : slash);
    }
    return CurrentFolder();
}

}  // namespace torvane

#endif  // !_WIN32
