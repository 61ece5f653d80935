#include "common/program_folder.h"

namespace torvane {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
constexpr std::string_view kSeparators = "\\/";
#else
constexpr char kSeparator = '/';
constexpr std::string_view kSeparators = "/";
#endif

}  // namespace

std::string ProgramFilePath(std::string_view name)
{
    std::string path = ProgramFolder();
    // A root keeps its separator; no second one then.
    if (!path.empty() && kSeparators.find(path.back()) == std::string_view::npos) {
        path += kSeparator;
    }
    return path.append(name);
}

std::string SettingsPath()
{
    return ProgramFilePath(kSettingsFileName);
}

std::string VersionFilePath()
{
    return ProgramFilePath(kVersionFileName);
}

}  // namespace torvane
