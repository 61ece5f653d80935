// The suite's executable names and the few fixed strings its programs share
// about each other, spelled once. UTF-8; the Windows side widens them at the
// system call.
#pragma once

#include <array>
#include <string_view>

namespace torvane {

inline constexpr std::string_view kCalendarExe = "torvane.exe";
inline constexpr std::string_view kUpdaterExe = "torvaneupdate.exe";
inline constexpr std::string_view kLauncherExe = "torvo.exe";
inline constexpr std::string_view kHalterExe = "halter.exe";

// The calendar shows its window only when started with an argument; the
// launcher and the Run-key entry pass this one.
inline constexpr std::string_view kAutostartArgument = "qidong";

// Where the autostart entry lives, relative to HKEY_CURRENT_USER.
inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// What the uninstall helper ends, in this order: the launcher first, so it
// cannot start the calendar again while the rest go.
inline constexpr std::array<std::string_view, 3> kUninstallEndOrder = {
    kLauncherExe, kCalendarExe, kUpdaterExe};

// What the calendar's exit item ends: the launcher first for the same reason,
// the calendar itself last, because ending itself ends the walk.
inline constexpr std::array<std::string_view, 3> kExitEndOrder = {kLauncherExe, kUpdaterExe,
                                                                   kCalendarExe};

}  // namespace torvane
