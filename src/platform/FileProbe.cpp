#include "platform/FileProbe.h"

#include "platform/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>

namespace pellucor::platform {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool isAllDigits(const char* s) {
    if (*s == '\0') return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9') return false;
    return true;
}

// The access mode of one descriptor from its fdinfo "flags:" line (octal).
bool fdinfoSaysWritable(const std::string& fdinfoPath) {
    std::ifstream in(fdinfoPath);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("flags:", 0) != 0) continue;
        const unsigned long flags = std::strtoul(line.c_str() + 6, nullptr, 8);
        const unsigned long mode = flags & O_ACCMODE;
        return mode == O_WRONLY || mode == O_RDWR;
    }
    // The descriptor went away between readdir and here: it writes nothing any more.
    return false;
}

bool hasWritableDescriptor(const std::string& procDir, const struct stat& target) {
    const std::string fdDir = procDir + "/fd";
    DirHandle dir(::opendir(fdDir.c_str()));
    if (!dir) return false;  // gone, or not ours to look into
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isAllDigits(entry->d_name)) continue;
        const std::string link = fdDir + "/" + entry->d_name;
        // Sockets, pipes and anonymous inodes link to "type:[n]"; only paths can be our file,
        // and skipping the rest avoids a stat on every socket of the machine.
        char text[2];
        if (::readlink(link.c_str(), text, sizeof text) < 1 || text[0] != '/') continue;
        struct stat st {};
        if (::stat(link.c_str(), &st) != 0) continue;
        if (st.st_dev != target.st_dev || st.st_ino != target.st_ino) continue;
        if (fdinfoSaysWritable(procDir + "/fdinfo/" + entry->d_name)) return true;
    }
    return false;
}

// A shared writable mapping keeps a writer alive after its descriptor was closed.
bool hasSharedWritableMapping(const std::string& procDir, const struct stat& target) {
    std::ifstream maps(procDir + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms, offset, dev;
        unsigned long long inode = 0;
        if (!(fields >> range >> perms >> offset >> dev >> inode)) continue;
        if (inode != target.st_ino || perms.size() < 4 || perms[1] != 'w' || perms[3] != 's')
            continue;
        unsigned int devMajor = 0, devMinor = 0;
        if (std::sscanf(dev.c_str(), "%x:%x", &devMajor, &devMinor) != 2) continue;
        if (devMajor == major(target.st_dev) && devMinor == minor(target.st_dev)) return true;
    }
    return false;
}

bool anyProcessWrites(const struct stat& target) {
    DirHandle proc(::opendir("/proc"));
    if (!proc) return false;
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!isAllDigits(entry->d_name)) continue;
        const std::string procDir = std::string("/proc/") + entry->d_name;
        if (hasWritableDescriptor(procDir, target) || hasSharedWritableMapping(procDir, target))
            return true;
    }
    return false;
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::int64_t FileSizeOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return 0;
    return static_cast<std::int64_t>(st.st_size);
}

void MakeLeaseBreakSignalHarmless() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (::sigaction(SIGIO, nullptr, &current) != 0) return;
        if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigemptyset(&ignore.sa_mask);
            ::sigaction(SIGIO, &ignore, nullptr);
        }
    });
}

bool IsOpenForWritingByAnyProcess(const std::string& path) {
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0) return false;
    return anyProcessWrites(target);
}

bool CanOpenDenyWrite(const std::string& path, DenyWriteProbe how) {
    // O_NONBLOCK: a FIFO named like a video must not hang the check, and an open that would have
    // to break someone's write lease fails instead of waiting for it.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;

    if (how == DenyWriteProbe::LeaseThenProc) {
        MakeLeaseBreakSignalHarmless();
        if (::fcntl(fd.get(), F_SETLEASE, F_RDLCK) == 0) {
            ::fcntl(fd.get(), F_SETLEASE, F_UNLCK);
            return true;
        }
        // EAGAIN: the kernel saw a writer. Anything else means no lease for us here (EACCES
        // for another user's file, EINVAL where the file system has no leases): look in /proc.
        if (errno == EAGAIN) return false;
    }
    return !anyProcessWrites(st);
}

} // namespace pellucor::platform
