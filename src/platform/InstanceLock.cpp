#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pellucor::platform {

std::filesystem::path instanceLockPath(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && std::filesystem::is_directory(runtime))
        return std::filesystem::path(runtime) / (name + ".lock");
    // The temporary folder is shared by every user: one user's file must not stop another's
    // start, so the user id is part of the name.
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) temp = "/tmp";
    return temp / (name + "-" + std::to_string(::getuid()) + ".lock");
}

InstanceLock::InstanceLock(const std::filesystem::path& lockFile) {
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = "Cannot open the lock file '" + lockFile.string() + "': " + std::strerror(errno);
        return;
    }
    int rc;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        state_ = State::Acquired;
    } else if (errno == EWOULDBLOCK) {
        state_ = State::HeldElsewhere;
    } else {
        error_ = "Cannot lock '" + lockFile.string() + "': " + std::strerror(errno);
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the only descriptor of the description unlocks
}

} // namespace pellucor::platform
