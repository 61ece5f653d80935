// The calendar's version check: at start-up (and from the tray menu) it
// fetches the update server's version file into "version.ini" in the
// background, compares the versions once both that download has ended and
// TmrLoad has ticked, and hands over to the updater when the user agrees.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "calendar/component.h"
#include "common/background_work.h"
#include "common/ports.h"
#include "common/settings.h"

namespace torvane::update {

// The worker's side: one blocking download into a file, replaced only when
// the whole body of a 2xx answer arrived.
class VersionDownloader {
public:
    virtual ~VersionDownloader() = default;
    virtual bool Download(const std::string& url, const std::string& target) = 0;
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
    Settings& settings;     // set.ini: x9 and the installed version
    Settings& versionFile;  // version.ini
    ProgramStarter& starter;
    Prompt& prompt;
    calendar::ComponentHost& host;
};

struct VersionCheckConfig {
    std::string updateServer;       // scheme and host, without the trailing "/"
    std::string versionFile;        // full paths, beside the programs: version.ini,
    std::string updaterPath;        // torvaneupdate.exe
    std::string silentUpdaterPath;  // and the optional update.exe
    // Called once the start-up download has ended, either way: later
    // downloads from the update server queue behind this one.
    std::function<void()> afterStartupDownload;
};

inline constexpr std::string_view kUpdatePromptTitle = "检测到更新";
inline constexpr std::string_view kModeUpgrade = "shengji";
inline constexpr std::string_view kModeNothingNew = "wu";

// The updater's arguments: the remote version, "###", the mode, "###".
std::string UpdaterArguments(std::string_view remoteVersion, std::string_view mode);

class VersionCheck final : public calendar::Component {
public:
    VersionCheck(const VersionCheckPorts& ports, VersionCheckConfig config);

    calendar::ViewChanges OnEvent(calendar::WindowEvent event) override;

private:
    void StartDownload(std::string kind, std::function<void()> then);
    void CompareOnce();
    void ManualCheck();
    bool StartUpdater(const std::string& path, std::string_view mode);

    VersionCheckPorts ports_;
    VersionCheckConfig config_;
    bool downloaded_ = false;
    bool ticked_ = false;
    bool compared_ = false;
};

}  // namespace torvane::update
