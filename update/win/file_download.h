// CFileDownload: downloads an address into a file through URL monikers
// (URLDownloadToFileW) and listens to the transfer through its own
// IBindStatusCallback, which also reads the answer's status and length
// (IHttpNegotiate::OnResponse): URL monikers save error pages and cut bodies
// as if they were the file. StartDownloading blocks: run it as a background
// job; progress is reported on that job's thread.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "update/ports.h"

namespace torvane::update::win {

class CFileDownload final : public FileDownloader {
public:
    DownloadOutcome StartDownloading(const DownloadRequest& request, const ProgressHandler& onProgress) override;
    // Raises a flag the callback answers at its next report with E_ABORT, on
    // the transfer's own thread; the binding belongs to that thread.
    void AbortDownloading() override;

    // The program ends while a transfer it stopped waiting for still runs (a
    // server that sends nothing more): the transfer's unfinished file goes.
    void DiscardUnfinished();

private:
    DownloadOutcome Transfer(const DownloadRequest& request, const ProgressHandler& onProgress);
    void SetUnfinished(std::wstring path);

    std::atomic<bool> downloading_{false};
    std::atomic<bool> abort_{false};
    std::mutex mutex_;
    std::wstring unfinished_;  // the running transfer's file, beside its target
};

}  // namespace torvane::update::win
