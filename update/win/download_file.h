// ZeqDownLoadFile: downloads an address into a file with WinINet, reading the
// body in 8192-byte blocks and writing each as it arrives. DownLoadFile
// blocks until the transfer has ended: run it as a background job. Events
// are raised on that job's thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "update/download_rules.h"

namespace torvane::update::win {

class ZeqDownLoadFile {
public:
    // Raised only when DownLoadFile is asked to: the announced length once
    // before the body, the running total after each block, and Complete once
    // at the very end of every call, whatever the outcome.
    std::function<void(int32_t contentLength)> QueryFileInfo;
    std::function<void(int32_t received)> Loading;
    std::function<void()> Complete;

    // A 2xx answer without a Content-Length (chunked, as CDNs send) is taken,
    // up to this many bytes, when the caller proves the file whole itself (a
    // signature); 0 refuses such an answer.
    int64_t unannouncedLimit = 0;

    // True when a 2xx answer with a positive Content-Length (or, within
    // unannouncedLimit, without one) arrived whole and replaced the file at
    // `filePath` (UTF-8). Anything else leaves that file
    // as it was. `hidden` gives the new file the hidden attribute.
    bool DownLoadFile(const std::string& address, const std::string& filePath, bool hidden, bool raiseEvents);

    // The running transfer stops after its current block. Any thread.
    void Abort() { abort_ = true; }

    // How the last call ended, in detail.
    DownloadOutcome lastOutcome() const { return lastOutcome_; }

private:
    DownloadOutcome Transfer(const std::string& address, const std::string& filePath, bool hidden, bool raiseEvents);

    std::atomic<bool> abort_{false};
    DownloadOutcome lastOutcome_ = DownloadOutcome::Failed;
};

}  // namespace torvane::update::win
