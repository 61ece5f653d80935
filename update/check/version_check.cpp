#include "update/check/version_check.h"

#include "common/file_io.h"
#include "common/settings_keys.h"
#include "update/check/version_order.h"

namespace torvane::update {
namespace {

constexpr std::string_view kVersionPath = "/tg/version.txt";
constexpr std::string_view kPromptText = "是否立即升级新版本";
constexpr std::string_view kPromptVersion = "新版版本号：";
// A server that accepts and never answers must not keep the check pending
// for ever; past this the download counts as ended.
constexpr int kDownloadTimeoutMs = 60'000;

}  // namespace

std::string UpdaterArguments(std::string_view remoteVersion, std::string_view mode) {
    return std::string(remoteVersion) + "###" + std::string(mode) + "###";
}

VersionCheck::VersionCheck(const VersionCheckPorts& ports, VersionCheckConfig config)
    : ports_(ports), config_(std::move(config)) {}

calendar::ViewChanges VersionCheck::OnEvent(calendar::WindowEvent event) {
    switch (event) {
        case calendar::WindowEvent::Loaded:
            StartDownload("version", [this] {
                downloaded_ = true;
                if (config_.afterStartupDownload) config_.afterStartupDownload();
                if (ticked_) CompareOnce();
            });
            break;
        case calendar::WindowEvent::LoadTimerTick:
            ticked_ = true;
            if (downloaded_) CompareOnce();
            break;
        case calendar::WindowEvent::CheckForUpdates:
            StartDownload("version-manual", [this] { ManualCheck(); });
            break;
        default:
            break;
    }
    return {};
}

void VersionCheck::StartDownload(std::string kind, std::function<void()> then) {
    auto ended = std::make_shared<std::function<void()>>(std::move(then));
    ports_.work.Run<bool>(
        JobOptions{std::move(kind), kDownloadTimeoutMs},
        [downloader = ports_.downloader, url = config_.updateServer + std::string(kVersionPath),
         target = config_.versionFile] { return downloader->Download(url, target); },
        [ended](bool) { (*ended)(); }, [ended] { (*ended)(); });
}

void VersionCheck::CompareOnce() {
    if (compared_) return;
    compared_ = true;
    const std::string remote = LoadVersionFile(ports_.versionFile).version;
    const std::string installed =
        ports_.settings.ReadSetting(kInstalledVersionSection, kInstalledVersionKey, "");
    if (!IsNewerVersion(installed, remote)) return;
    if (IsFlagOn(ports_.settings.ReadSetting(kSysSection, kAutoUpgradeKey, ""))) {
        // Automatic: the silent updater beside the programs, if there is one.
        if (StartUpdater(config_.silentUpdaterPath, kModeUpgrade)) ports_.host.EndCalendar();
        return;
    }
    const std::string text = std::string(kPromptText) + std::string(kPromptVersion) + remote;
    if (!ports_.prompt.AskYesNo(kUpdatePromptTitle, text)) return;
    if (StartUpdater(config_.updaterPath, kModeUpgrade)) ports_.host.EndCalendar();
}

void VersionCheck::ManualCheck() {
    const std::string remote = LoadVersionFile(ports_.versionFile).version;
    const std::string installed =
        ports_.settings.ReadSetting(kInstalledVersionSection, kInstalledVersionKey, "");
    StartUpdater(config_.updaterPath, IsNewerVersion(installed, remote) ? kModeUpgrade : kModeNothingNew);
}

bool VersionCheck::StartUpdater(const std::string& path, std::string_view mode) {
    if (!FileExists(path)) return false;
    const std::string remote = LoadVersionFile(ports_.versionFile).version;
    return ports_.starter.StartProgram(path, UpdaterArguments(remote, mode));
}

}  // namespace torvane::update
