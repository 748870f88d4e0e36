#include "platform/RegFileStore.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <iostream>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellucor::platform::regfile {

namespace {

std::mutex g_messagesMutex;
std::vector<std::string> g_messages;

// Owns one file descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { const int fd = fd_; fd_ = -1; return fd; }
    void reset() { if (fd_ >= 0) ::close(fd_); fd_ = -1; }

private:
    int fd_;
};

std::string errnoText(const std::string& what, const std::filesystem::path& file)
{
    return what + " '" + file.string() + "': " + std::strerror(errno);
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::filesystem::path badName(const std::filesystem::path& hive)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::filesystem::path bad = hive.string() + ".bad-" + stamp;
    // Two bad hives in one second (the user keeps breaking it): never replace an earlier one.
    for (int n = 2; ::access(bad.c_str(), F_OK) == 0; ++n)
        bad = hive.string() + ".bad-" + stamp + "-" + std::to_string(n);
    return bad;
}

void report(const std::string& message)
{
    std::cerr << message << std::endl;
    addHiveMessage(message);
}

// A crash between mkstemp and rename leaves a temporary file; under the lock no writer is busy
// with one, so whatever is there is such a leftover.
void removeStaleTemporaries(const std::filesystem::path& hive)
{
    std::error_code ec;
    const std::string prefix = hive.filename().string() + ".tmp-";
    for (const auto& entry : std::filesystem::directory_iterator(hive.parent_path(), ec)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            std::filesystem::remove(entry.path(), ec);
    }
}

} // namespace

HiveLock::HiveLock(const std::filesystem::path& hive, bool createFolder)
{
    const std::filesystem::path folder = hive.parent_path();
    if (createFolder && !folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            error_ = "cannot create the folder '" + folder.string() + "': " + ec.message();
            return;
        }
    }
    const std::filesystem::path lockFile = hive.string() + ".lock";
    Fd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        error_ = errnoText("cannot open the lock file", lockFile);
        return;
    }
    while (::flock(fd.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            error_ = errnoText("cannot lock", lockFile);
            return;
        }
    }
    fd_ = fd.release();
}

HiveLock::~HiveLock()
{
    if (fd_ >= 0) ::close(fd_);  // closing releases the flock
}

LoadResult loadHive(const std::filesystem::path& hive)
{
    LoadResult result;
    Fd fd(::open(hive.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {  // no file, or no folder that could hold one
            result.hive.emplace();
            return result;
        }
        result.error = errnoText("cannot open the settings file", hive);
        return result;
    }
    result.existed = true;
    std::string bytes;
    char buf[65536];
    while (true) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = errnoText("cannot read the settings file", hive);
            return result;
        }
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    fd.reset();

    ParseResult parsed = parse(bytes);
    if (parsed.hive) {
        result.hive = std::move(parsed.hive);
        return result;
    }
    const std::filesystem::path bad = badName(hive);
    if (::rename(hive.c_str(), bad.c_str()) != 0) {
        result.error = "the settings file '" + hive.string() + "' is not valid registry text ("
                       + parsed.error + ") and could not be moved to '" + bad.string()
                       + "': " + std::strerror(errno);
        report("Pellucor: " + result.error + ". It is left untouched and nothing is saved.");
        return result;
    }
    report("Pellucor: the settings file '" + hive.string() + "' is not valid registry text ("
           + parsed.error + "). It was moved to '" + bad.string()
           + "' and the settings start from their defaults.");
    result.hive.emplace();
    return result;
}

std::string saveHive(const std::filesystem::path& hive, const Hive& content)
{
    const std::filesystem::path folder = hive.parent_path().empty() ? "." : hive.parent_path();
    removeStaleTemporaries(hive);
    std::string tempName = hive.string() + ".tmp-XXXXXX";
    Fd fd(::mkstemp(tempName.data()));
    if (fd.get() < 0) return errnoText("cannot create a temporary file beside", hive);

    struct stat old {};
    if (::stat(hive.c_str(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);

    const std::string text = serialize(content);
    std::string error;
    if (!writeAll(fd.get(), text)) error = errnoText("cannot write", tempName);
    else if (::fsync(fd.get()) != 0) error = errnoText("cannot flush", tempName);
    else if (::close(fd.release()) != 0) error = errnoText("cannot close", tempName);
    else if (::rename(tempName.c_str(), hive.c_str()) != 0) error = errnoText("cannot replace", hive);
    if (!error.empty()) {
        ::unlink(tempName.c_str());
        return error;
    }
    // The rename is only durable once the folder's entry is on disk too.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return {};
}

void addHiveMessage(const std::string& message)
{
    const std::lock_guard lock(g_messagesMutex);
    g_messages.push_back(message);
}

std::vector<std::string> takeMessages()
{
    const std::lock_guard lock(g_messagesMutex);
    std::vector<std::string> out;
    out.swap(g_messages);
    return out;
}

} // namespace pellucor::platform::regfile
