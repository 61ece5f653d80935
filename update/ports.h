// What the updater's model needs from the outside world besides the shared
// ports of common/ports.h. The Win32 side implements them in update/win/;
// unit tests implement them with fakes. Texts and paths are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "update/download_rules.h"

namespace torvane::update {

struct DownloadRequest {
    std::string url;
    std::string target;                 // full path; replaced only on success
    std::optional<std::string> sha256;  // lowercase hex the file must match
};

struct DownloadProgress {
    int64_t progress = 0;
    int64_t maxProgress = 0;
    int32_t speed = 0;  // kilobytes per second since the previous report
    int32_t statusCode = 0;
    std::string statusText;
};

// CFileDownload: one transfer at a time into a file. StartDownloading blocks
// until the transfer has ended, so it runs as a background job; the progress
// handler runs on that job's thread. AbortDownloading may be called from any
// thread meanwhile: the transfer stops at its next progress report.
class FileDownloader {
public:
    using ProgressHandler = std::function<void(const DownloadProgress&)>;
    virtual ~FileDownloader() = default;
    // Refused at once while another transfer of this object runs.
    virtual DownloadOutcome StartDownloading(const DownloadRequest& request,
                                             const ProgressHandler& onProgress) = 0;
    // Does nothing when no transfer runs.
    virtual void AbortDownloading() = 0;
};

// The hand-over to the installer.
class ScriptStarter {
public:
    virtual ~ScriptStarter() = default;
    // Creates or replaces the file with exactly these bytes.
    virtual bool WriteScript(std::string_view path, std::string_view bytes) = 0;
    virtual void DeleteScript(std::string_view path) = 0;
    // Runs the command script in a hidden window with `workingFolder` as its
    // current folder, without waiting for it.
    virtual bool StartHidden(std::string_view path, std::string_view workingFolder) = 0;
};

enum class UpdaterTimer : uint8_t { CancelGrace = 1 };

// The window as its model sees it.
class UpdaterHost {
public:
    virtual ~UpdaterHost() = default;
    virtual void Show() = 0;
    // Unloads the window; the program ends.
    virtual void Close() = 0;
    // The platform's move loop, until the mouse button is released.
    virtual void RunMoveLoop() = 0;
    virtual void StartTimer(UpdaterTimer id, int intervalMs) = 0;
    virtual void StopTimer(UpdaterTimer id) = 0;
};

}  // namespace torvane::update
