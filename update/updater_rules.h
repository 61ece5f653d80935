// The updater's pure rules: its command line, the texts of its labels, the
// command script that runs the installer, and the promotional page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane::update {

inline constexpr std::string_view kArgumentSeparator = "###";
inline constexpr std::string_view kModeUpgrade = "shengji";  // a newer version exists
inline constexpr std::string_view kModeNewest = "wu";        // nothing newer

enum class UpdateMode : uint8_t { Upgrade, Newest, Unknown };

struct UpdaterArguments {
    std::string version;  // piece 0
    UpdateMode mode = UpdateMode::Unknown;
};

// The argument text split at every "###": piece 0 is the new version, piece
// 1 the mode word; further pieces are ignored. A text without "###" is all
// version and an unknown mode.
UpdaterArguments SplitArguments(std::string_view arguments);

// Only blanks count as no argument.
bool IsBlank(std::string_view text);

// Label1 and Label4 for the new version.
std::string UpgradeOfferText(std::string_view version);
std::string NewestVersionText(std::string_view version);

// "42.50%": two decimals and a percent sign.
std::string PercentText(float percent);

// The bytes received of an answer that announced no length: "640KB",
// "12.5MB".
std::string ReceivedText(int64_t bytes);

// The script beside the programs that runs the installer silently, waits for
// it and then deletes itself: two lines, each ended by CR LF, each name in
// quotes. The installer is told to install into `programFolder` ("/D=",
// which must be its last switch and cannot be quoted), unless the folder
// cannot stand unquoted on a command line; the installer then finds the
// folder it recorded.
std::string ScriptName(std::string_view downName);
std::string CommandScript(std::string_view downName, std::string_view programFolder);

// The promotional page the updater opens when started without arguments:
// the page "/tg/" of the update server.
std::string PromotionalPage(std::string_view updateServer);

}  // namespace torvane::update
