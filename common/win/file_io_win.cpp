#include <windows.h>

#include <string>

#include "common/file_replace.h"

namespace torvane {
namespace {

constexpr int kNameAttempts = 16;
// A virus scanner or indexer may hold the target open for a moment.
constexpr int kMoveAttempts = 5;
constexpr DWORD kMoveRetryMs = 50;
constexpr DWORD kMaxChunk = 1u << 20;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool Close()
    {
        const bool ok = !valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

std::filesystem::path TemporaryName(const std::filesystem::path& target, int attempt)
{
    static LONG counter = 0;
    std::wstring name = L"~" + target.filename().wstring() + L"." +
                        std::to_wstring(GetCurrentProcessId()) + L"." +
                        std::to_wstring(InterlockedIncrement(&counter)) + L"." +
                        std::to_wstring(attempt) + L".tmp";
    return target.parent_path() / name;
}

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > kMaxChunk ? kMaxChunk : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        Sleep(kMoveRetryMs);
    }
    return false;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path temporary = TemporaryName(target, attempt);
        FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            if (GetLastError() == ERROR_FILE_EXISTS) {
                continue;
            }
            return false;
        }
        const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
        if (!file.Close() || !written || !MoveOver(temporary, target)) {
            DeleteFileW(temporary.c_str());
            return false;
        }
        return true;
    }
    return false;
}

}  // namespace torvane
