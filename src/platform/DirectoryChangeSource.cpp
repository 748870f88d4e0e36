#include "platform/DirectoryChangeSource.h"

#include "platform/ChangeRecords.h"
#include "platform/InotifyWatchTree.h"
#include "platform/UniqueFd.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

namespace pellucor::platform {

namespace {

struct Change {
    std::uint32_t action;
    std::string name;
};

// Events the kernel is asked for: enough to keep the tree's watches right even when the
// caller's filter would not report directory names.
std::uint32_t kernelMaskFor(std::uint32_t filter, bool subtree) {
    std::uint32_t mask = IN_EXCL_UNLINK;
    if (filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME) || subtree)
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE))
        mask |= IN_MODIFY | IN_CLOSE_WRITE;
    return mask;
}

std::optional<std::uint32_t> actionFor(std::uint32_t mask) {
    if (mask & IN_CREATE) return FILE_ACTION_ADDED;
    if (mask & IN_MOVED_TO) return FILE_ACTION_RENAMED_NEW_NAME;
    if (mask & (IN_MODIFY | IN_CLOSE_WRITE)) return FILE_ACTION_MODIFIED;
    if (mask & IN_DELETE) return FILE_ACTION_REMOVED;
    if (mask & IN_MOVED_FROM) return FILE_ACTION_RENAMED_OLD_NAME;
    return std::nullopt;
}

// Whether the caller's filter asks for this action on this kind of entry.
bool wanted(std::uint32_t filter, std::uint32_t action, bool isDir) {
    if (action == FILE_ACTION_MODIFIED)
        return !isDir && (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
    return filter & (isDir ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME);
}

timespec realNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

bool notBefore(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec >= b.tv_nsec;
}

std::string systemMessage(int error) { return std::strerror(error); }

} // namespace

struct DirectoryChangeSource::Impl {
    UniqueFd inotify;
    UniqueFd wake;
    std::optional<InotifyWatchTree> tree;
    std::uint32_t filter = 0;
    bool kernelFailed = false;  // reading events failed for good: only a wake can end Read now
    std::deque<Change> pending;
    // Directories moved away whose arrival (same cookie) may still come.
    std::vector<std::pair<std::uint32_t, std::string>> movedAway;
    // When the last read of events began: a change after it may have been lost in an overflow.
    timespec lastReadStart{};
    alignas(inotify_event) char events[64 * 1024];

    void readKernelEvents();
    void translate(const inotify_event& event);
    void rescan();
    void settleMovedAway();
    bool pack(std::span<std::uint8_t> buffer, std::uint32_t& bytesReturned);
};

void DirectoryChangeSource::Impl::readKernelEvents() {
    const timespec started = realNow();
    const ssize_t n = ::read(inotify.get(), events, sizeof events);
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR) kernelFailed = true;
        return;
    }
    for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        translate(*event);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
    lastReadStart = started;
    settleMovedAway();
}

void DirectoryChangeSource::Impl::translate(const inotify_event& event) {
    if (event.mask & IN_Q_OVERFLOW) {
        rescan();
        return;
    }
    if (event.mask & IN_IGNORED) {
        tree->forget(event.wd);
        return;
    }
    const std::string* rel = tree->relativeDir(event.wd);
    if (!rel || event.len == 0) return;  // events about a watched directory itself say nothing new
    const std::string relName = InotifyWatchTree::join(*rel, std::string(event.name, ::strnlen(event.name, event.len)));
    const bool isDir = event.mask & IN_ISDIR;
    const auto action = actionFor(event.mask);
    if (!action) return;
    if (wanted(filter, *action, isDir)) pending.push_back({*action, relName});
    if (!isDir || !tree->subtree()) return;

    auto reportAdded = [this](const std::string& name, bool entryIsDir, timespec) {
        if (wanted(filter, FILE_ACTION_ADDED, entryIsDir)) pending.push_back({FILE_ACTION_ADDED, name});
    };
    if (*action == FILE_ACTION_RENAMED_OLD_NAME) {
        movedAway.emplace_back(event.cookie, relName);
    } else if (*action == FILE_ACTION_RENAMED_NEW_NAME) {
        for (auto it = movedAway.begin(); it != movedAway.end(); ++it) {
            if (it->first == event.cookie) {  // moved within the tree: same watches, new names
                tree->renameTree(it->second, relName);
                movedAway.erase(it);
                return;
            }
        }
        if (tree->watchDir(relName)) tree->walk(relName, reportAdded);
    } else if (*action == FILE_ACTION_ADDED) {
        if (tree->watchDir(relName)) tree->walk(relName, reportAdded);
    }
}

void DirectoryChangeSource::Impl::settleMovedAway() {
    // The arrival half of a move normally follows in the same read; when the queue still holds
    // events it may be among them, so wait for it until the queue has been emptied.
    int queued = 0;
    if (movedAway.empty() || (::ioctl(inotify.get(), FIONREAD, &queued) == 0 && queued > 0)) return;
    for (const auto& [cookie, rel] : movedAway) tree->removeTree(rel);
    movedAway.clear();
}

void DirectoryChangeSource::Impl::rescan() {
    // File times come from a coarse clock that may trail ours by a few ticks; a second of
    // margin reports a few files twice rather than lose one.
    timespec since = lastReadStart;
    since.tv_sec -= 1;
    tree->walk("", [this, since](const std::string& name, bool isDir, timespec changed) {
        if (!isDir && notBefore(changed, since) && wanted(filter, FILE_ACTION_MODIFIED, false))
            pending.push_back({FILE_ACTION_MODIFIED, name});
    });
}

bool DirectoryChangeSource::Impl::pack(std::span<std::uint8_t> buffer, std::uint32_t& bytesReturned) {
    ChangeRecordWriter writer(buffer);
    while (!pending.empty()) {
        const Change& next = pending.front();
        // A relative name longer than a whole buffer (possible only deep in a tree near
        // PATH_MAX) has no record form at all.
        if (!ChangeRecordWriter::fitsAtAll(next.name.size(), buffer.size())) {
            pending.pop_front();
            continue;
        }
        if (!writer.append(next.action, next.name)) break;
        pending.pop_front();
    }
    bytesReturned = writer.bytesUsed();
    return writer.recordCount() > 0;
}

DirectoryChangeSource::DirectoryChangeSource() : impl_(std::make_unique<Impl>()) {}

DirectoryChangeSource::~DirectoryChangeSource() { Close(); }

void DirectoryChangeSource::Open(const std::string& directory, bool watchSubtree, std::uint32_t notifyFilter) {
    Close();
    Impl& s = *impl_;
    s.inotify.reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!s.inotify) throw ChangeSourceError(systemMessage(errno));
    s.wake.reset(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!s.wake) {
        const int error = errno;
        Close();
        throw ChangeSourceError(systemMessage(error));
    }
    s.filter = notifyFilter;
    s.kernelFailed = false;
    s.lastReadStart = realNow();
    s.tree.emplace(s.inotify.get(), directory, kernelMaskFor(notifyFilter, watchSubtree), watchSubtree);
    if (!s.tree->watchDir("")) {
        const int error = errno;
        Close();
        throw ChangeSourceError(systemMessage(error));
    }
    if (watchSubtree) s.tree->walk("", {});  // watches for the tree as it is; nothing reported
}

bool DirectoryChangeSource::Read(std::span<std::uint8_t> buffer, std::uint32_t& bytesReturned) {
    Impl& s = *impl_;
    bytesReturned = 0;
    if (!s.wake) return false;
    for (;;) {
        pollfd fds[2] = {{s.wake.get(), POLLIN, 0},
                         {s.kernelFailed ? -1 : s.inotify.get(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, s.pending.empty() ? -1 : 0);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return false;  // poll itself broken: nothing more can be read or woken
        }
        if (fds[0].revents != 0) return false;
        if (fds[1].revents & POLLIN)
            s.readKernelEvents();
        else if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL))
            s.kernelFailed = true;
        if (!s.pending.empty() && s.pack(buffer, bytesReturned)) return true;
    }
}

void DirectoryChangeSource::Wake() {
    if (!impl_->wake) return;
    const std::uint64_t one = 1;
    // Can only fail when the counter is about to overflow, i.e. when it is already signalled.
    [[maybe_unused]] const ssize_t written = ::write(impl_->wake.get(), &one, sizeof one);
}

void DirectoryChangeSource::Close() {
    Impl& s = *impl_;
    s.tree.reset();
    s.inotify.reset();
    s.wake.reset();
    s.pending.clear();
    s.movedAway.clear();
}

void DirectoryChangeSource::RescanAfterOverflow() {
    if (impl_->tree) impl_->rescan();
}

std::size_t DirectoryChangeSource::watchedDirectories() const {
    return impl_->tree ? impl_->tree->size() : 0;
}

} // namespace pellucor::platform
