#pragma once
// Making a folder fail the way a user's folders fail: read-only, or on a file system that is full.
//
// Root ignores permission bits, and tests run as root in CI, so a read-only folder is made by
// what even root cannot write through: a read-only bind mount in a mount namespace of the test's
// child process (gone with the child, invisible to everyone else), or else the immutable flag,
// or else (not root) plain permissions. A full file system is a small tmpfs in such a namespace.
// Each function returns an empty text on success, otherwise why it could not be done.
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace pellucor::test {

inline std::string lastError(const std::string& what) { return what + ": " + std::strerror(errno); }

// Child side, before any thread exists: mounts made after this stay in this process.
inline std::string enterPrivateMounts() {
    if (::unshare(CLONE_NEWNS) != 0) return lastError("unshare(CLONE_NEWNS)");
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return lastError("make / private");
    return {};
}

// Child side, after enterPrivateMounts: folder becomes read-only for everyone, root included.
inline std::string mountReadOnly(const std::filesystem::path& folder) {
    if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return lastError("bind mount");
    if (::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return lastError("remount read-only");
    return {};
}

// Child side, after enterPrivateMounts: an empty tmpfs of `bytes` over folder.
inline std::string mountSmallTmpfs(const std::filesystem::path& folder, std::size_t bytes) {
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) return lastError("mount tmpfs");
    return {};
}

// Parent side: sets or clears the immutable flag of folder (no new entries, even for root).
inline std::string setImmutable(const std::filesystem::path& folder, bool on) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return lastError("open the folder");
    int flags = 0;
    std::string error;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
        error = lastError("read the folder's flags");
    } else {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) error = lastError("set the immutable flag");
    }
    ::close(fd);
    return error;
}

// Parent side: keeps folder immutable for its lifetime, so a failed test cannot leave it so.
class ImmutableFolder {
public:
    explicit ImmutableFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
        error_ = setImmutable(folder_, true);
    }
    ~ImmutableFolder() {
        if (error_.empty()) setImmutable(folder_, false);
    }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;
    const std::string& error() const { return error_; }

private:
    std::filesystem::path folder_;
    std::string error_;
};

} // namespace pellucor::test
