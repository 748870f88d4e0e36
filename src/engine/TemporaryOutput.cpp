#include "engine/TemporaryOutput.h"

#include "engine/EngineError.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace pellucor::engine {

namespace fs = std::filesystem;

namespace {

// A folder entry holds at most 255 bytes on the file systems Linux uses. The destination's own
// name may take all of them, so its copy in the temporary name is cut to leave room for the dot
// and ".part-XXXXXX"; the temporary name only has to be unique, not whole.
constexpr std::size_t kNameMax = 255;
constexpr std::size_t kSuffixLength = 6;
constexpr std::size_t kDecoration = 1 + 6 + kSuffixLength;  // ".", ".part-", six letters

fs::path folderOf(const fs::path& dest) { return dest.has_parent_path() ? dest.parent_path() : fs::path("."); }

// ".<name>.part-": what every temporary file of this destination starts with.
std::string temporaryPrefix(const fs::path& dest) {
    std::string prefix = ".";  // appended piecewise: GCC 12 warns falsely about "." + string
    prefix += dest.filename().string().substr(0, kNameMax - kDecoration);
    prefix += ".part-";
    return prefix;
}

bool isTemporaryName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + kSuffixLength || name.compare(0, prefix.size(), prefix) != 0) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

// Whether the descriptor and the path name the same file: a file another job removed (and
// perhaps created anew) after we opened it is not ours to lock or to remove.
bool sameFile(int fd, const fs::path& path) {
    struct stat byFd {}, byPath {};
    return ::fstat(fd, &byFd) == 0 && ::lstat(path.c_str(), &byPath) == 0 && S_ISREG(byFd.st_mode) &&
           byFd.st_dev == byPath.st_dev && byFd.st_ino == byPath.st_ino;
}

} // namespace

void removeAbandonedTemporaries(const std::string& destination) noexcept {
    try {
        const fs::path dest(destination);
        const std::string prefix = temporaryPrefix(dest);
        std::error_code ec;
        for (fs::directory_iterator it(folderOf(dest), ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path path = it->path();
            if (!isTemporaryName(path.filename().string(), prefix)) continue;
            platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            // Locked: a living job writes it.
            if (!fd || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
            if (sameFile(fd.get(), path)) ::unlink(path.c_str());
        }
    } catch (...) {
        // Tidying up is a courtesy; the job goes on without it.
    }
}

TemporaryFile createTemporaryBeside(const std::string& destination) {
    const fs::path dest(destination);
    if (dest.filename().empty())
        throw EngineError(Error_Output, "The output name '" + destination + "' names no file");
    std::error_code ec;
    if (fs::is_directory(dest, ec))
        throw EngineError(Error_Output, "The output '" + destination + "' is a folder");
    removeAbandonedTemporaries(destination);

    const fs::path folder = folderOf(dest);
    const std::string prefix = temporaryPrefix(dest);
    std::random_device seed;
    std::mt19937 random(seed());
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    int lastError = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (std::size_t i = 0; i < kSuffixLength; ++i) name += letters[random() % (sizeof letters - 1)];
        const fs::path candidate = folder / name;
        // Created exclusively, never someone else's file; the mode follows the umask.
        platform::UniqueFd fd(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd) {
            lastError = errno;
            if (lastError != EEXIST) break;
            continue;
        }
        // Between the creation and the lock another job's tidying may take the file for an
        // abandoned one and remove it: then try another name.
        if (::flock(fd.get(), LOCK_EX) == 0 && sameFile(fd.get(), candidate))
            return TemporaryFile{candidate.string(), std::move(fd)};
        lastError = EEXIST;
    }
    throw EngineError(Error_Output,
                      "Cannot write into the folder '" + folder.string() + "': " + std::strerror(lastError));
}

void commitTemporary(const std::string& temporary, const std::string& destination) {
    std::error_code ec;
    fs::rename(temporary, destination, ec);
    if (ec) throw EngineError(Error_Output, "Cannot replace '" + destination + "': " + ec.message());
}

void discardTemporary(const std::string& temporary) noexcept {
    std::error_code ec;
    fs::remove(temporary, ec);
}

} // namespace pellucor::engine
