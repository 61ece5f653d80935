// CFileDownload: downloads an address into a file through URL monikers
// (URLDownloadToFileW) and listens to the transfer through its own
// IBindStatusCallback, which also reads the answer's status and length
// (IHttpNegotiate::OnResponse): URL monikers save error pages and cut bodies
// as if they were the file. StartDownloading blocks: run it as a background
// job; progress is reported on that job's thread.
#pragma once

#include <atomic>

#include "update/ports.h"

namespace torvane::update::win {

class CFileDownload final : public FileDownloader {
public:
    DownloadOutcome StartDownloading(const DownloadRequest& request, const ProgressHandler& onProgress) override;
    // Raises a flag the callback answers at its next report with E_ABORT, on
    // the transfer's own thread; the binding belongs to that thread.
    void AbortDownloading() override;

private:
    DownloadOutcome Transfer(const DownloadRequest& request, const ProgressHandler& onProgress);

    std::atomic<bool> downloading_{false};
    std::atomic<bool> abort_{false};
};

}  // namespace torvane::update::win
