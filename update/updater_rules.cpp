#include "update/updater_rules.h"

#include <cstdio>

#include "common/settings_keys.h"

namespace torvane::update {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::string_view kScriptSuffix = ".cmd";
constexpr std::string_view kPromotionalPath = "/tg/";

}  // namespace

UpdaterArguments SplitArguments(std::string_view arguments) {
    UpdaterArguments parsed;
    const size_t first = arguments.find(kArgumentSeparator);
    parsed.version = std::string(arguments.substr(0, first));
    if (first == std::string_view::npos) return parsed;
    const std::string_view rest = arguments.substr(first + kArgumentSeparator.size());
    const std::string_view word = rest.substr(0, rest.find(kArgumentSeparator));
    parsed.mode = word == kModeUpgrade ? UpdateMode::Upgrade
                  : word == kModeNewest ? UpdateMode::Newest
                                        : UpdateMode::Unknown;
    return parsed;
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(kBlanks) == std::string_view::npos; }

std::string UpgradeOfferText(std::string_view version) {
    return std::string("检测到当前最新版为：").append(version).append("版，是否立即升级");
}

std::string NewestVersionText(std::string_view version) {
    return std::string("您当前使用的已经是最新版，版本").append(version).append("，无需升级");
}

std::string PercentText(float percent) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f%%", static_cast<double>(percent));
    return text;
}

std::string ReceivedText(int64_t bytes) {
    constexpr int64_t kKilobyte = 1024;
    constexpr int64_t kMegabyte = kKilobyte * kKilobyte;
    char text[48];
    if (bytes < kMegabyte) {
        std::snprintf(text, sizeof text, "%lldKB", static_cast<long long>((bytes + kKilobyte - 1) / kKilobyte));
    } else {
        std::snprintf(text, sizeof text, "%.1fMB", static_cast<double>(bytes) / kMegabyte);
    }
    return text;
}

std::string ScriptName(std::string_view downName) { return std::string(downName).append(kScriptSuffix); }

std::string CommandScript(std::string_view downName, std::string_view programFolder) {
    // cmd.exe reads these as something else wherever they stand; a folder
    // with one of them is left to the installer's own record.
    constexpr std::string_view kSpecial = "&|<>^%\"\r\n";
    const bool folderFits = !programFolder.empty() && programFolder.find_first_of(kSpecial) == std::string_view::npos;
    // start takes its first quoted text as the window's title: an empty one
    // comes first, so the quoted installer is the program.
    std::string script = std::string("start /wait  \"\" \"").append(downName).append("\" /S");
    if (folderFits) script.append(" /D=").append(programFolder);
    return script.append("\r\n").append("del  \"").append(ScriptName(downName)).append("\"\r\n");
}

std::string PromotionalPage(std::string_view updateServer) { return ServerPage(updateServer, kPromotionalPath); }

}  // namespace torvane::update
