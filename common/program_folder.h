// Where the programs and their files live: every file of the suite sits in
// the folder of the running executable. Paths are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

inline constexpr const char* kSettingsFileName = "set.ini";
inline constexpr const char* kVersionFileName = "version.ini";

// Platform port: the running executable's folder, without a trailing
// separator unless it is a root ("/", "C:\"). Falls back to the current
// folder if the platform cannot say.
std::string ProgramFolder();

// ProgramFolder() joined with `name` by the platform's separator.
std::string ProgramFilePath(std::string_view name);
std::string SettingsPath();     // ProgramFolder()/set.ini
std::string VersionFilePath();  // ProgramFolder()/version.ini

}  // namespace torvane
