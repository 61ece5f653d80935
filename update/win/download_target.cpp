#include "update/win/download_target.h"

#include <utility>

#include "common/win/file_replace.h"
#include "update/win/sha256.h"

namespace torvane::update::win {

DownloadTarget::DownloadTarget(std::wstring target, bool hidden) : target_(std::move(target)) {
    // Shared for writing too: the URL-moniker engine writes it by its path.
    const torvane::win::FileBeside file = torvane::win::CreateFileBeside(
        target_, hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (file.handle == INVALID_HANDLE_VALUE) return;
    path_ = file.path;
    file_ = file.handle;
}

DownloadTarget::~DownloadTarget() {
    Release();
    if (ok() && !committed_) DeleteFileW(path_.c_str());
}

bool DownloadTarget::Write(const char* bytes, size_t count) {
    while (count > 0) {
        DWORD written = 0;
        const DWORD chunk = count > MAXDWORD ? MAXDWORD : static_cast<DWORD>(count);
        if (file_ == INVALID_HANDLE_VALUE || !WriteFile(file_, bytes, chunk, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        count -= written;
    }
    return true;
}

void DownloadTarget::Release() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    FlushFileBuffers(file_);
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

std::optional<int64_t> DownloadTarget::Size() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!ok() || !GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

DownloadOutcome DownloadTarget::Commit(const std::optional<std::string>& sha256) {
    Release();
    if (!ok()) return DownloadOutcome::NotSaved;
    if (sha256 && FileSha256(path_) != sha256) return DownloadOutcome::Mismatch;
    if (!torvane::win::MoveOver(path_, target_)) return DownloadOutcome::NotSaved;
    committed_ = true;
    return DownloadOutcome::Done;
}

}  // namespace torvane::update::win
