// The file a transfer writes: a new file beside the target that replaces the
// target only once the transfer is complete and its SHA-256 (when one is
// expected) matches. Otherwise it is deleted, so a failed, cut or cancelled
// transfer leaves the target as it was and nothing half-written behind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "update/download_rules.h"

namespace torvane::update::win {

class DownloadTarget final : public BodySink {
public:
    DownloadTarget(std::wstring target, bool hidden);
    ~DownloadTarget() override;
    DownloadTarget(const DownloadTarget&) = delete;
    DownloadTarget& operator=(const DownloadTarget&) = delete;

    // False when the file could not be made (a missing folder, no rights).
    bool ok() const { return !path_.empty(); }
    const std::wstring& path() const { return path_; }

    bool Write(const char* bytes, size_t count) override;
    // Closes this object's handle so that another writer can write the file
    // by its path; the file is still removed unless committed.
    void Release();
    // The bytes on disk now.
    std::optional<int64_t> Size() const;
    // Puts the file in the target's place after checking its digest.
    DownloadOutcome Commit(const std::optional<std::string>& sha256);

private:
    std::wstring target_;
    std::wstring path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool committed_ = false;
};

}  // namespace torvane::update::win
