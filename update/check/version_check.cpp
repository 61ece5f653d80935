#include "update/check/version_check.h"

#include "common/file_io.h"
#include "common/settings_keys.h"
#include "common/version_file.h"
#include "update/version_order.h"

namespace torvane::update {
namespace {

constexpr std::string_view kVersionPath = "/tg/version.txt";
constexpr std::string_view kPromptText = "是否立即升级新版本";
constexpr std::string_view kPromptVersion = "新版版本号：";
// A server that accepts and never answers must not keep the check pending
// for ever; past this the download counts as ended.
constexpr int kDownloadTimeoutMs = 60'000;

std::string InstalledVersion(Settings& settings) {
    return settings.ReadSetting(kInstalledVersionSection, kInstalledVersionKey, "");
}

}  // namespace

std::string UpdaterArguments(std::string_view remoteVersion, std::string_view mode) {
    return std::string(remoteVersion) + "###" + std::string(mode) + "###";
}

std::optional<VersionFileEntries> FetchSignedVersionFile(VersionDownloader& downloader, SignatureVerifier& verifier,
                                                         const VersionFetch& fetch,
                                                         const std::atomic<bool>& givenUp) {
    if (!downloader.Download(fetch.url, fetch.downloadPath)) return std::nullopt;
    const FileBytes fetched = ReadFileBytes(fetch.downloadPath);
    RemoveFile(fetch.downloadPath);
    if (fetched.outcome != ReadOutcome::Read) return std::nullopt;
    std::optional<VersionFileEntries> release = ReadSignedVersionFile(fetched.bytes, verifier);
    if (!release) return std::nullopt;
    // Only a newer release is kept: one signed long ago and served again
    // (a replay) replaces nothing, but still says the server has nothing newer.
    if (!IsNewerVersion(fetch.installedVersion, release->version)) return release;
    // A check given up after its time-out no longer speaks for the server.
    if (givenUp || !ReplaceFileContents(fetch.versionFile, fetched.bytes)) return std::nullopt;
    return release;
}

VersionCheck::VersionCheck(const VersionCheckPorts& ports, VersionCheckConfig config)
    : ports_(ports), config_(std::move(config)) {}

calendar::ViewChanges VersionCheck::OnEvent(calendar::WindowEvent event) {
    switch (event) {
        case calendar::WindowEvent::Loaded:
            StartDownload("version", [this](Fetched release) {
                downloaded_ = true;
                startupRelease_ = std::move(release);
                if (config_.afterStartupDownload) config_.afterStartupDownload();
                if (ticked_) CompareOnce();
            });
            break;
        case calendar::WindowEvent::LoadTimerTick:
            ticked_ = true;
            if (downloaded_) CompareOnce();
            break;
        case calendar::WindowEvent::CheckForUpdates:
            StartDownload("version-manual", [this](Fetched release) { ManualCheck(release); });
            break;
        default:
            break;
    }
    return {};
}

void VersionCheck::StartDownload(std::string kind, std::function<void(Fetched)> then) {
    auto ended = std::make_shared<std::function<void(Fetched)>>(std::move(then));
    auto givenUp = std::make_shared<std::atomic<bool>>(false);
    VersionFetch fetch{config_.updateServer + std::string(kVersionPath), config_.downloadPath, config_.versionFile,
                       InstalledVersion(ports_.settings)};
    ports_.work.Run<Fetched>(
        JobOptions{std::move(kind), kDownloadTimeoutMs},
        [downloader = ports_.downloader, verifier = ports_.verifier, fetch = std::move(fetch), givenUp] {
            return FetchSignedVersionFile(*downloader, *verifier, fetch, *givenUp);
        },
        [ended](Fetched release) { (*ended)(std::move(release)); },
        [ended, givenUp, downloader = ports_.downloader] {
            // Cancelled, not left to finish later and replace the file then.
            *givenUp = true;
            downloader->Abort();
            (*ended)(std::nullopt);
        });
}

void VersionCheck::CompareOnce() {
    if (compared_) return;
    compared_ = true;
    // Only this start's download, signed, can offer anything: a version.ini
    // an earlier run kept says nothing about the server now.
    if (!startupRelease_) return;
    const std::string remote = startupRelease_->version;
    if (!IsNewerVersion(InstalledVersion(ports_.settings), remote)) return;
    if (IsFlagOn(ports_.settings.ReadSetting(kSysSection, kAutoUpgradeKey, ""))) {
        // Automatic: the silent updater beside the programs, if there is one.
        if (StartUpdater(config_.silentUpdaterPath, remote, kModeUpgrade)) ports_.host.EndCalendar();
        return;
    }
    const std::string text = std::string(kPromptText) + std::string(kPromptVersion) + remote;
    if (!ports_.prompt.AskYesNo(kUpdatePromptTitle, text)) return;
    if (StartUpdater(config_.updaterPath, remote, kModeUpgrade)) ports_.host.EndCalendar();
}

void VersionCheck::ManualCheck(const Fetched& release) {
    // What the server just answered, signed; without an answer, the signed
    // version.ini an earlier check kept.
    const std::string remote = release ? release->version : SignedRemoteVersion();
    const std::string installed = InstalledVersion(ports_.settings);
    // Nothing newer: the updater names the release the user has.
    if (IsNewerVersion(installed, remote)) {
        StartUpdater(config_.updaterPath, remote, kModeUpgrade);
    } else {
        StartUpdater(config_.updaterPath, installed, kModeNothingNew);
    }
}

std::string VersionCheck::SignedRemoteVersion() {
    const FileBytes file = ReadFileBytes(config_.versionFile);
    if (file.outcome != ReadOutcome::Read) return {};
    const std::optional<VersionFileEntries> release = ReadSignedVersionFile(file.bytes, *ports_.verifier);
    return release ? release->version : std::string();
}

bool VersionCheck::StartUpdater(const std::string& path, std::string_view remote, std::string_view mode) {
    if (!FileExists(path)) return false;
    return ports_.starter.StartProgram(path, UpdaterArguments(remote, mode));
}

}  // namespace torvane::update
