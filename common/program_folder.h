// Where the programs and their files live: every file of the suite sits in
// the folder of the running executable.
#pragma once

#include <filesystem>

namespace torvane {

inline constexpr const char* kSettingsFileName = "set.ini";
inline constexpr const char* kVersionFileName = "version.ini";

// Platform port: the running executable's folder, without a trailing
// separator. Falls back to the current folder if the platform cannot say.
std::filesystem::path ProgramFolder();

std::filesystem::path SettingsPath();     // ProgramFolder()/set.ini
std::filesystem::path VersionFilePath();  // ProgramFolder()/version.ini

}  // namespace torvane
