// Executable file names of the suite's programs, as the processes that end
// them by name spell them.
#pragma once

#include <array>
#include <string_view>

namespace torvane {

inline constexpr std::wstring_view kCalendarExe = L"torvane.exe";
inline constexpr std::wstring_view kUpdaterExe = L"torvaneupdate.exe";
inline constexpr std::wstring_view kLauncherExe = L"torvo.exe";

// What the uninstall helper ends, in this order: the launcher first, so it
// cannot start the calendar again while the rest go.
inline constexpr std::array<std::wstring_view, 3> kUninstallEndOrder = {
    kLauncherExe, kCalendarExe, kUpdaterExe};

}  // namespace torvane
