#include "platform/DurableAppend.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace pellucor::platform {

namespace {

[[noreturn]] void fail(int err, const std::string& path) { throw std::system_error(err, std::generic_category(), path); }

// The length of the file up to and including its last line feed (0 when it has none). Reads
// backwards from the end in blocks; a file that ends with a line feed costs one byte.
off_t wholeRecordsLength(int fd, off_t size, const std::string& path) {
    char block[4096];
    for (off_t end = size; end > 0;) {
        const off_t start = end > static_cast<off_t>(sizeof block) ? end - static_cast<off_t>(sizeof block) : 0;
        const ssize_t n = ::pread(fd, block, static_cast<std::size_t>(end - start), start);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno, path);
        if (n == 0) break;  // shortened meanwhile by someone who does not lock: keep what is there
        for (ssize_t i = n; i > 0; --i)
            if (block[i - 1] == '\n') return start + i;
        end = start;
    }
    return 0;
}

} // namespace

void appendRecordDurably(const std::string& path, const std::string& record)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fail(errno, path);
    auto closeAndFail = [&](int err) {
        ::close(fd);  // also releases the flock
        fail(err, path);
    };
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) closeAndFail(errno);

    struct stat st {};
    if (::fstat(fd, &st) != 0) closeAndFail(errno);
    off_t whole = 0;
    try {
        whole = wholeRecordsLength(fd, st.st_size, path);
    } catch (const std::system_error&) {
        ::close(fd);
        throw;
    }
    if (whole < st.st_size && ::ftruncate(fd, whole) != 0) closeAndFail(errno);

    std::size_t done = 0;
    while (done < record.size()) {
        const ssize_t n = ::write(fd, record.data() + done, record.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) closeAndFail(errno);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) closeAndFail(errno);
    if (::close(fd) != 0) fail(errno, path);
}

} // namespace pellucor::platform
