// The calendar's version check: at start-up (and from the tray menu) it
// fetches the update server's version file in the background and keeps it as
// "version.ini" only when the release key signed it and it names a release
// newer than the installed one; it compares the versions once both that download
// has ended and TmrLoad has ticked, and hands over to the updater when the
// user agrees.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "calendar/component.h"
#include "common/background_work.h"
#include "common/ports.h"
#include "common/release_signature.h"
#include "common/settings.h"
#include "common/settings_keys.h"

namespace torvane::update {

// The worker's side: one blocking download into a file, replaced only when
// the whole body of a 2xx answer arrived.
class VersionDownloader {
public:
    virtual ~VersionDownloader() = default;
    virtual bool Download(const std::string& url, const std::string& target) = 0;
    // Stops the transfers running now (after their current block); any thread.
    virtual void Abort() {}
};

// A modal question with Yes and No and the information icon.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual bool AskYesNo(std::string_view title, std::string_view text) = 0;
};

struct VersionCheckPorts {
    BackgroundWork& work;
    std::shared_ptr<VersionDownloader> downloader;  // shared with the worker
    std::shared_ptr<SignatureVerifier> verifier;    // the release key's; shared with the worker
    Settings& settings;  // set.ini: x9 and the installed version
    ProgramStarter& starter;
    Prompt& prompt;
    calendar::ComponentHost& host;
};

struct VersionCheckConfig {
    std::string updateServer;       // scheme and host, without the trailing "/"
    std::string versionFile;        // full paths, beside the programs: version.ini,
    std::string downloadPath;       // the download before it is checked,
    std::string updaterPath;        // torvaneupdate.exe
    std::string silentUpdaterPath;  // and the optional update.exe
    // Called once the start-up download has ended, either way: later
    // downloads from the update server queue behind this one.
    std::function<void()> afterStartupDownload;
};

// The version file's download beside version.ini, before it is checked.
inline constexpr std::string_view kVersionDownloadName = "version.download";
inline constexpr std::string_view kUpdatePromptTitle = "检测到更新";
inline constexpr std::string_view kModeUpgrade = "shengji";
inline constexpr std::string_view kModeNothingNew = "wu";

// The updater's arguments: the remote version, "###", the mode, "###".
std::string UpdaterArguments(std::string_view remoteVersion, std::string_view mode);

struct VersionFetch {
    std::string url;
    std::string downloadPath;
    std::string versionFile;
    std::string installedVersion;
};

// The worker's part: downloads the version file beside version.ini and puts
// it in version.ini's place only when the release key signed it, it names a
// release newer than the installed one and the check has not been given
// up meanwhile. Nothing of the download is left behind either way. Returns
// the signed release (also one that is not newer: the server's answer), or
// nothing when there was no signed answer.
std::optional<VersionFileEntries> FetchSignedVersionFile(VersionDownloader& downloader, SignatureVerifier& verifier,
                                                         const VersionFetch& fetch,
                                                         const std::atomic<bool>& givenUp);

class VersionCheck final : public calendar::Component {
public:
    VersionCheck(const VersionCheckPorts& ports, VersionCheckConfig config);

    calendar::ViewChanges OnEvent(calendar::WindowEvent event) override;

private:
    using Fetched = std::optional<VersionFileEntries>;
    void StartDownload(std::string kind, std::function<void(Fetched)> then);
    void CompareOnce();
    void ManualCheck(const Fetched& release);
    // The remote version of the signed version.ini; empty without one.
    std::string SignedRemoteVersion();
    bool StartUpdater(const std::string& path, std::string_view remote, std::string_view mode);

    VersionCheckPorts ports_;
    VersionCheckConfig config_;
    Fetched startupRelease_;  // what this start's download brought, signed
    bool downloaded_ = false;
    bool ticked_ = false;
    bool compared_ = false;
};

}  // namespace torvane::update
