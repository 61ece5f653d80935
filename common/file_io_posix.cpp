#ifndef _WIN32

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/file_replace.h"

namespace torvane {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr int kNameAttempts = 16;

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

// A name of our own beside the target; the process id and a counter keep two
// writers, or two calls of one writer, from sharing it.
std::filesystem::path TemporaryName(const std::filesystem::path& target, int attempt)
{
    static std::atomic<unsigned> counter{0};
    std::string name = ".";
    for (const std::string& part : {target.filename().string(), std::to_string(::getpid()),
                                    std::to_string(counter++), std::to_string(attempt)}) {
        name.append(part).append(".");
    }
    return target.parent_path() / name.append("tmp");
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
void SyncFolder(const std::filesystem::path& folder)
{
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    Descriptor dir(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        ::fsync(dir.get());
    }
}

bool WriteTemporary(int fd, const std::filesystem::path& target, std::string_view bytes)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0) {
        return false;
    }
    return WriteAll(fd, bytes) && ::fsync(fd) == 0;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path temporary = TemporaryName(target, attempt);
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
        SyncFolder(target.parent_path());
        return true;
    }
    return false;
}

}  // namespace torvane

#endif  // !_WIN32
