#include <windows.h>

#include <string>

#include "common/file_io.h"
#include "common/win/file_replace.h"
#include "common/win/wide_text.h"

namespace torvane {
namespace {

constexpr DWORD kMaxChunk = 1u << 20;
constexpr DWORD kReadChunk = 1u << 16;

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

bool NamesNothing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_DRIVE;
}

// Opening a folder fails already; this holds if a file system lets it.
bool IsPlainFile(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ReadAll(HANDLE file, std::string& bytes)
{
    std::string chunk(kReadChunk, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), kReadChunk, &got, nullptr)) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.append(chunk.data(), got);
    }
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

}  // namespace

bool FileExists(std::string_view path)
{
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileBytes ReadFileBytes(std::string_view path)
{
    // Shared as the C runtime's fopen shares: other programs may read and
    // write the file meanwhile.
    FileHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        return {NamesNothing(GetLastError()) ? ReadOutcome::Missing : ReadOutcome::Unreadable, {}};
    }
    FileBytes result{ReadOutcome::Unreadable, {}};
    if (IsPlainFile(file.get())) {
        if (ReadAll(file.get(), result.bytes)) {
            result.outcome = ReadOutcome::Read;
        } else {
            result.bytes.clear();
        }
    }
    return result;
}

bool ReplaceFileContents(std::string_view targetPath, std::string_view bytes)
{
    const std::wstring target = Utf8ToWide(targetPath);
    const win::FileBeside beside = win::CreateFileBeside(target, FILE_ATTRIBUTE_NORMAL, 0);
    FileHandle file(beside.handle);
    if (!file.valid()) {
        return false;
    }
    const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
    if (!file.Close() || !written || !win::MoveOver(beside.path, target)) {
        DeleteFileW(beside.path.c_str());
        return false;
    }
    return true;
}

}  // namespace torvane
