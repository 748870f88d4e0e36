#include "platform/InotifyWatchTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <vector>

namespace pellucor::platform {

namespace {
struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool later(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}
} // namespace

InotifyWatchTree::InotifyWatchTree(int inotifyFd, std::string root, std::uint32_t mask, bool subtree)
    : fd_(inotifyFd), root_(std::move(root)), mask_(mask), subtree_(subtree) {}

std::string InotifyWatchTree::fullPath(const std::string& rel) const {
    if (rel.empty()) return root_;
    return root_.empty() || root_.back() == '/' ? root_ + rel : root_ + "/" + rel;
}

bool InotifyWatchTree::underOrAt(const std::string& path, const std::string& dir) {
    return path == dir || (path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 &&
                           path[dir.size()] == '/');
}

bool InotifyWatchTree::watchDir(const std::string& rel) {
    // The root may be given through a symbolic link; links met inside the tree are not
    // followed, so a link cannot make the tree loop or leave itself.
    const std::uint32_t mask = mask_ | IN_ONLYDIR | (rel.empty() ? 0 : IN_DONT_FOLLOW);
    const int wd = ::inotify_add_watch(fd_, fullPath(rel).c_str(), mask);
    if (wd < 0) return false;
    dirs_[wd] = rel;  // a directory watched again keeps its descriptor; its name is refreshed
    return true;
}

void InotifyWatchTree::walk(const std::string& start, const Found& found) {
    // Iterative, so a deep tree cannot exhaust the worker's stack.
    std::vector<std::string> todo{start};
    while (!todo.empty()) {
        const std::string rel = std::move(todo.back());
        todo.pop_back();
        const std::string dirPath = fullPath(rel);
        std::unique_ptr<DIR, DirCloser> dir(::opendir(dirPath.c_str()));
        if (!dir) continue;  // gone again already: its removal is reported by its parent
        while (const dirent* entry = ::readdir(dir.get())) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            const std::string relName = join(rel, entry->d_name);
            struct stat st {};
            if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            const bool isDir = S_ISDIR(st.st_mode);
            if (isDir && subtree_ && watchDir(relName)) todo.push_back(relName);
            if (found) found(relName, isDir, later(st.st_ctim, st.st_mtim) ? st.st_ctim : st.st_mtim);
        }
    }
}

void InotifyWatchTree::renameTree(const std::string& from, const std::string& to) {
    for (auto& [wd, rel] : dirs_)
        if (underOrAt(rel, from)) rel = to + rel.substr(from.size());
}

void InotifyWatchTree::removeTree(const std::string& rel) {
    for (auto it = dirs_.begin(); it != dirs_.end();) {
        if (underOrAt(it->second, rel)) {
            ::inotify_rm_watch(fd_, it->first);
            it = dirs_.erase(it);
        } else {
            ++it;
        }
    }
}

const std::string* InotifyWatchTree::relativeDir(int wd) const {
    const auto it = dirs_.find(wd);
    return it == dirs_.end() ? nullptr : &it->second;
}

} // namespace pellucor::platform
