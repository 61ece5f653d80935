#include "common/program_folder.h"

namespace torvane {

std::filesystem::path SettingsPath()
{
    return ProgramFolder() / kSettingsFileName;
}

std::filesystem::path VersionFilePath()
{
    return ProgramFolder() / kVersionFileName;
}

}  // namespace torvane
