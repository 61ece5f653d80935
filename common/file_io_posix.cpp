#ifndef _WIN32

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/file_io.h"

namespace torvane {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr int kNameAttempts = 16;
constexpr std::size_t kReadChunk = 1 << 16;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// A path through a plain file (ENOTDIR) names nothing, as a missing folder does.
bool NamesNothing(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

bool ReadAll(int fd, std::string& bytes)
{
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) {
            return true;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

// Where the folder part of `target` ends: after its last '/', or 0.
std::size_t NameStart(std::string_view target)
{
    const std::size_t slash = target.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// A name of our own beside the target; the process id and a counter keep two
// writers, or two calls of one writer, from sharing it.
std::string TemporaryName(std::string_view target, int attempt)
{
    static std::atomic<unsigned> counter{0};
    const std::size_t nameStart = NameStart(target);
    std::string name(target.substr(0, nameStart));
    name += '.';
    for (const std::string& part : {std::string(target.substr(nameStart)),
                                    std::to_string(::getpid()), std::to_string(counter++),
                                    std::to_string(attempt)}) {
        name.append(part).append(".");
    }
    return name.append("tmp");
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself durable; a failure here does not undo it.
void SyncFolder(std::string_view target)
{
    const std::size_t nameStart = NameStart(target);
    const std::string folder = nameStart == 0 ? "." : std::string(target.substr(0, nameStart));
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        ::fsync(dir.get());
    }
}

bool WriteTemporary(int fd, const std::string& target, std::string_view bytes)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0) {
        return false;
    }
    return WriteAll(fd, bytes) && ::fsync(fd) == 0;
}

}  // namespace

bool FileExists(std::string_view path)
{
    struct stat info {};
    return ::stat(std::string(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

FileBytes ReadFileBytes(std::string_view path)
{
    const std::string name(path);
    Descriptor fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return {NamesNothing(errno) ? ReadOutcome::Missing : ReadOutcome::Unreadable, {}};
    }
    FileBytes result{ReadOutcome::Unreadable, {}};
    struct stat info {};
    if (::fstat(fd.get(), &info) == 0 && !S_ISDIR(info.st_mode)) {
        if (S_ISREG(info.st_mode) && info.st_size > 0) {
            result.bytes.reserve(static_cast<std::size_t>(info.st_size));
        }
        if (ReadAll(fd.get(), result.bytes)) {
            result.outcome = ReadOutcome::Read;
        } else {
            result.bytes.clear();
        }
    }
    return result;
}

bool RemoveFile(std::string_view path)
{
    return ::unlink(std::string(path).c_str()) == 0 || errno == ENOENT;
}

bool ReplaceFileContents(std::string_view targetPath, std::string_view bytes)
{
    const std::string target(targetPath);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string temporary = TemporaryName(target, attempt);
        Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                             kNewFileMode));
        if (fd.get() < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return false;
        }
        const bool written = WriteTemporary(fd.get(), target, bytes);
        if (!fd.Close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
        SyncFolder(target);
        return true;
    }
    return false;
}

}  // namespace torvane

#endif  // !_WIN32
